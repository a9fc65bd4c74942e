#pragma once

#include "history/HistoryTable.h"

#include <QAbstractItemModel>
#include <QIcon>

// The history tree over a HistoryTable: vehicles at the root, their saved calculations below. Nodes are made
// only when a view asks for them, so a history of any size shows at once. A node's text is shown on one line,
// cut to a display length.
class HistoryTreeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit HistoryTreeModel(QObject* parent = nullptr);

    // Shows table; the model keeps it until the next call.
    void setTable(HistoryTable table);
    void clear();
    const HistoryTable& table() const { return m_table; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    qint32 node(const QModelIndex& index) const { return static_cast<qint32>(index.internalId()); }

    HistoryTable m_table;
    QIcon m_vehicleIcon;
    QIcon m_recordIcon;
};
