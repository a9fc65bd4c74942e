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
    m_texts = std::move(texts);
    endResetModel();
}

int TextListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_texts.size());
}

QVariant TextListModel::data(const QModelIndex& index, int role) const
{
    // A box without a current entry asks for the invalid index.
    if (!index.isValid() || !checkIndex(index, CheckIndexOption::ParentIsInvalid))
        return {};
    const QStringView text = m_texts.at(index.row());
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
