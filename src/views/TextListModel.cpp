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
    m_shown.clear();
    m_shownEntry = -1;
    endResetModel();
}

void TextListModel::setTexts(qsizetype count, std::function<QString(qsizetype entry)> textOf)
{
    beginResetModel();
    m_count = count;
    m_texts = TextArray();
    m_textOf = std::move(textOf);
    m_shown.clear();
    m_shownEntry = -1;
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
        return m_image.isNull() ? QVariant() : QVariant::fromValue(m_image);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const qsizetype entry = index.row();
    if (role == Qt::EditRole)
        return m_textOf ? m_textOf(entry) : m_texts.at(entry).toString();
    // A long entry is cut for display before it is copied. A made one is made once while a view asks for the
    // same entry again and again (its size, its painting, its accessible name).
    if (!m_textOf)
        return DisplayText::oneLine(m_texts.at(entry));
    if (m_shownEntry != entry) {
        m_shown = DisplayText::oneLine(m_textOf(entry));
        m_shownEntry = entry;
    }
    return m_shown;
}
