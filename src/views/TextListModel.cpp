#include "TextListModel.h"

#include "DisplayText.h"
#include "ImageList.h"

TextListModel::TextListModel(QObject* parent)
    : QAbstractListModel(parent)
{
}

void TextListModel::setImageKey(const QString& key)
{
    m_image = key.isEmpty() ? QIcon() : ImageList::icon(key);
}

void TextListModel::setTexts(TextArray texts)
{
    beginResetModel();
    m_count = texts.size();
    m_texts = std::move(texts);
    m_textOf = nullptr;
    m_made.clear();
    m_madeEntry = -1;
    endResetModel();
}

void TextListModel::setTexts(qsizetype count, std::function<QString(qsizetype entry)> textOf)
{
    beginResetModel();
    m_count = count;
    m_texts = TextArray();
    m_textOf = std::move(textOf);
    m_made.clear();
    m_madeEntry = -1;
    endResetModel();
}

int TextListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_count);
}

QVariant TextListModel::data(const QModelIndex& index, int role) const
{
    // A box without a current entry asks for the invalid index.
    if (!index.isValid() || !checkIndex(index, CheckIndexOption::ParentIsInvalid))
        return {};
    if (role == Qt::DecorationRole)
        return m_image.isNull() ? QVariant() : QVariant(m_image);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    // Made only for the roles that show it, and once while a view asks for the same entry again and again (its
    // size, its painting, its accessible name); a long entry is cut for display before it is copied.
    if (m_textOf && m_madeEntry != index.row()) {
        m_made = m_textOf(index.row());
        m_madeEntry = index.row();
    }
    const QStringView text = m_textOf ? QStringView(m_made) : m_texts.at(index.row());
    return role == Qt::DisplayRole ? DisplayText::oneLine(text) : text.toString();
}
