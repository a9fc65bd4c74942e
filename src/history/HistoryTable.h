#pragma once

#include "ByteKeys.h"

#include <QByteArray>
#include <QHash>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

#include <vector>

// The History page's content read from the history file: a tree with one root node per vehicle and one child
// node per saved calculation, and each vehicle's miles-per-gallon tally. A valid record is a line holding both
// "VehicleReg" and "MPG".
//
// A record goes under the first node, in the order the nodes were added, whose text equals its registration
// exactly. That is normally its vehicle's node; only a registration that spells out a whole earlier record
// can name a record node instead.
class HistoryTable
{
public:
    static constexpr qint32 NoNode = -1;

    // Reads the whole file into table (emptied first). An absent file gives an empty table and false.
    // Throws AppError when the file cannot be read; table then keeps what was read so far.
    static bool load(const QString& historyFilePath, const QLocale& locale, HistoryTable& table);

    void clear();

    // Nodes are numbered in the order they were added, vehicle and record nodes alike.
    qint32 nodeCount() const { return qint32(m_nodes.size()); }
    qint32 rootCount() const { return qint32(m_roots.size()); }
    qint32 root(qint32 row) const { return m_roots[size_t(row)]; }
    qint32 childCount(qint32 node) const;
    qint32 child(qint32 node, qint32 row) const; // row below childCount(node)
    qint32 parent(qint32 node) const { return m_nodes[size_t(node)].parent; }
    qint32 row(qint32 node) const { return m_nodes[size_t(node)].row; }
    bool isVehicle(qint32 node) const { return m_nodes[size_t(node)].parent == NoNode; }

    // A vehicle node's registration, or a record node's whole line with every ";" shown as a blank.
    QString text(qint32 node) const;

    // "Mean MPG for vehicle X is 35.00" for each vehicle with a non-blank registration and at least one
    // numeric MPG, in the order the vehicles first appear; the mean is that of its numeric MPG values.
    QStringList meanTexts(const QLocale& locale) const;

private:
    struct Node
    {
        qint32 parent; // NoNode for a vehicle node
        qint32 row; // position among its parent's children
        qint32 item; // index into m_vehicles or m_records
    };
    struct Vehicle
    {
        QString registration;
        qint32 node;
        double mpgSum = 0; // of the numeric MPGs, times 2^-mpgScale
        int mpgScale = 0; // 0, or SumScale once the plain sum would overflow
        qint64 mpgCount = 0;

        void addMpg(double mpg);
        double meanMpg() const; // the sum over the count, finite for any finite MPGs
    };
    static constexpr int SumScale = 64;
    struct Record
    {
        qsizetype offset; // the line's bytes in m_lines
        qsizetype length;
    };

    // mpg: the record's MPG when it is a number.
    void addRecord(QByteArrayView line, QByteArrayView registration, std::optional<double> mpg);
    // The first node with the registration's text, given its vehicle's node (or NoNode).
    qint32 FindVehicleNode(QByteArrayView registration, qint32 vehicle);
    qint32 addNode(qint32 parent, qint32 item);
    void indexRecordText(qint32 node);

    QByteArray m_lines;
    std::vector<Record> m_records;
    std::vector<Vehicle> m_vehicles;
    std::vector<Node> m_nodes;
    std::vector<qint32> m_roots;
    QHash<qint32, std::vector<qint32>> m_children;
    ByteKeyed<qint32> m_vehicleByRegistration; // by the registration's bytes in the file
    // Record texts, indexed only once a registration could equal one (see FindVehicleNode).
    QHash<QString, qint32> m_recordNodeByText;
    bool m_recordTextsIndexed = false;
};
