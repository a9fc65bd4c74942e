#include "HistoryTreeModel.h"

#include "DisplayText.h"
#include "ImageList.h"

#include <QTextDocument>

HistoryTreeModel::HistoryTreeModel(QObject* parent)
    : QAbstractItemModel(parent)
    , m_vehicleIcon(ImageList::icon(QStringLiteral("TR")))
    , m_recordIcon(ImageList::icon(QStringLiteral("DA")))
{
}

void HistoryTreeModel::setTable(HistoryTable table)
{
    beginResetModel();
    m_table = std::move(table);
    endResetModel();
}

void HistoryTreeModel::clear()
{
    setTable(HistoryTable());
}

QModelIndex HistoryTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (!hasIndex(row, column, parent))
        return {};
    const qint32 child = parent.isValid() ? m_table.child(node(parent), row) : m_table.root(row);
    return createIndex(row, column, static_cast<quintptr>(child));
}

QModelIndex HistoryTreeModel::parent(const QModelIndex& child) const
{
    if (!child.isValid())
        return {};
    const qint32 parentNode = m_table.parent(node(child));
    if (parentNode == HistoryTable::NoNode)
        return {};
    return createIndex(m_table.row(parentNode), 0, static_cast<quintptr>(parentNode));
}

int HistoryTreeModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return m_table.rootCount();
    if (parent.column() != 0)
        return 0;
    return m_table.childCount(node(parent));
}

int HistoryTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant HistoryTreeModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const qint32 n = node(index);
    switch (role) {
    case Qt::DisplayRole:
        return DisplayText::oneLine(m_table.text(n));
    case Qt::ToolTipRole: // a tooltip that looks like markup would be rendered as such
        return Qt::convertFromPlainText(DisplayText::oneLine(m_table.text(n)), Qt::WhiteSpacePre);
    case Qt::DecorationRole:
        return m_table.isVehicle(n) ? m_vehicleIcon : m_recordIcon;
    default:
        return {};
    }
}
