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
    endResetModel();
}

void TextListModel::setTexts(qsizetype count, std::function<QString(qsizetype entry)> textOf)
{
    beginResetModel();
    m_count = count;
    m_texts = TextArray();
    m_textOf = std::move(textOf);
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
    // A long entry is cut for display before it is copied.
    const QString made = m_textOf ? m_textOf(index.row()) : QString();
    const QStringView text = m_textOf ? QStringView(made) : m_texts.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return DisplayText::oneLine(text);
    case Qt::EditRole:
        return text.toString();
    case Qt::DecorationRole:
        return m_image.isNull() ? QVariant() : QVariant(m_image);
    default:
        return {};
    }
}
