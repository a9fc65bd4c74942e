#pragma once

#include "BlockArray.h"
#include "TextArray.h"

#include "calc/AppError.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Each vehicle's mean miles per gallon, in the order the vehicles first appear; an entry's text is made when
// asked for, so that a list of a hundred thousand shows at once.
class MeanList
{
public:
    qsizetype size() const { return m_means.size(); }
    // "Mean MPG for vehicle X is 35.00", the mean in the locale's "######.00" form.
    QString text(qsizetype i, const QLocale& locale) const;

private:
    friend class HistoryTable;
    ByteTextArray m_registrations; // as the file has them
    QList<double> m_means;
};

// The History page's content read from the history file: a tree with one root node per vehicle and one child
// node per saved calculation, and each vehicle's miles-per-gallon tally. A valid record is a line holding both
// "VehicleReg" and "MPG".
//
// A record goes under the first node, in the order the nodes were added, whose text equals its registration
// exactly. That is normally its vehicle's node; only a registration that spells out a whole earlier record
// can name a record node instead.
//
// The table keeps the file's bytes once and, per record, where its line starts; texts are decoded only when
// asked for, so its size is the file's and a few bytes a record. Nodes, records and slots are counted in qint32,
// as the views' rows are; offsets into the file's bytes in qsizetype.
class HistoryTable
{
public:
    static constexpr qint32 NoNode = -1;

    struct Loaded;
    // Reads the whole file. An absent file is an empty table; a file that cannot be read gives what was read
    // of it before the failure, and the error.
    static Loaded load(const QString& historyFilePath, const QLocale& locale);

    // The vehicle nodes are 0 to rootCount() - 1, in the order the vehicles first appear; the record nodes
    // follow, each parent's children one after another in file order.
    qint32 nodeCount() const { return vehicleCount() + static_cast<qint32>(m_lineOffsets.size()); }
    qint32 rootCount() const { return vehicleCount(); }
    qint32 root(qint32 row) const { return row; }
    qint32 childCount(qint32 node) const;
    qint32 child(qint32 node, qint32 row) const; // row below childCount(node)
    qint32 parent(qint32 node) const;
    qint32 row(qint32 node) const;
    bool isVehicle(qint32 node) const { return node < vehicleCount(); }

    // A vehicle node's registration, or a record node's whole line with every ";" shown as a blank.
    QString text(qint32 node) const;

    // The mean of each vehicle with a non-blank registration and at least one numeric MPG: that of its numeric
    // MPG values.
    MeanList means() const;

private:
    struct Vehicle
    {
        qsizetype registration; // where its bytes start in m_bytes
        qsizetype registrationLength;
        double mpgSum = 0; // of the numeric MPGs, times 2^-mpgScale
        int mpgScale = 0; // 0, or SumScale once the plain sum would overflow
        qint64 mpgCount = 0;

        void addMpg(double mpg);
        double meanMpg() const; // the sum over the count, finite for any finite MPGs
    };
    static constexpr int SumScale = 64;
    class Builder;

    qint32 vehicleCount() const { return static_cast<qint32>(m_vehicles.size()); }
    // The parent slot of a node's children (a vehicle's is its number), or NoNode for a node without any.
    qint32 slotOf(qint32 node) const;
    // The slot whose children hold record position p.
    qint32 slotAt(qint32 position) const;
    QByteArrayView line(qsizetype start) const;

    QByteArray m_bytes; // the whole file
    std::vector<Vehicle> m_vehicles;
    // The children of slot s are the record positions m_childStart[s] to m_childStart[s + 1] - 1. Slot v is
    // vehicle v's; the slots after the vehicles' belong to the record nodes in m_recordParents.
    std::vector<qint32> m_childStart;
    std::vector<qint32> m_recordParents;
    QHash<qint32, qint32> m_slotOfRecordParent; // by record node
    BlockArray<qsizetype> m_lineOffsets; // by record position: where the record's line starts in m_bytes
};

struct HistoryTable::Loaded
{
    HistoryTable table;
    std::optional<AppError> error; // why the reading stopped short, if it did
};
