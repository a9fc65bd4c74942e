#include "HistoryTable.h"

#include "ByteKeyed.h"
#include "HistoryFile.h"
#include "MpgValues.h"
#include "RecordField.h"
#include "SameBytes.h"
#include "calc/Numbers.h"

#include <algorithm>
#include <cmath>

// Reads the lines in file order. Each record gets its parent slot; at the end the records' line offsets are
// put in order of slot, stably, in place.
class HistoryTable::Builder
{
public:
    Builder(HistoryTable& table, const QLocale& locale)
        : m_table(table)
        , m_mpgs(locale)
    {
    }

    void addLine(QByteArrayView line)
    {
        static const QByteArrayView names[] = { "VehicleReg:", "MPG:" };
        std::optional<QByteArrayView> fields[2];
        RecordField::findEach(line, names, fields);
        const auto& [registration, mpg] = fields;
        if (!registration || !mpg)
            return;
        const qint32 record = recordCount();

        // The last registration again is the common case: the same vehicle's saves follow one another.
        qint32 vehicle = NoNode;
        const bool again = m_lastVehicle != NoNode && sameBytes(*registration, m_lastRegistration);
        if (again)
            vehicle = m_lastVehicle;
        else if (const qint32* known = vehicleByRegistration().find(*registration))
            vehicle = *known;
        if (!again)
            m_lastCouldNameRecord = couldNameRecord(*registration);
        qint32 slot = FindVehicleNode(*registration, vehicle);
        if (slot == NoNode) {
            vehicle = m_table.vehicleCount();
            const QByteArrayView bytes(m_table.m_bytes);
            m_table.m_vehicles.push_back({ registration->data() - bytes.data(), registration->size() });
            m_vehicleFirstRecord.push_back(record);
            vehicleByRegistration().insert(*registration, vehicle);
            slot = vehicle;
        }
        m_lastVehicle = vehicle;
        m_lastRegistration = *registration;

        // The tally belongs to the vehicle of that registration, whichever node the record went under.
        if (vehicle != NoNode) {
            if (const std::optional<double> value = m_mpgs.read(*mpg))
                m_table.m_vehicles[vehicle].addMpg(*value);
        }

        m_offsets.push_back(line.data() - m_table.m_bytes.constData());
        m_slots.push_back(slot);
        if (m_recordTextsIndexed)
            indexRecordText(record);
    }

    // Orders the records by slot, each slot's in file order: a counting sort that reads the records once from
    // the front and gives back what it has read, so that it needs hardly more than the records themselves.
    void finish()
    {
        HistoryTable& t = m_table;
        const qint32 vehicles = t.vehicleCount();
        const qint32 records = recordCount();
        const auto finalSlot = [vehicles](qint32 slot) {
            return slot >= 0 ? slot : vehicles + RecordParentSlots - slot;
        };

        t.m_childStart.assign(vehicles + m_recordParentRecords.size() + 1, 0);
        for (qint32 i = 0; i < records; ++i)
            ++t.m_childStart[finalSlot(m_slots[i]) + 1];
        for (size_t s = 1; s < t.m_childStart.size(); ++s)
            t.m_childStart[s] += t.m_childStart[s - 1];

        // The record parents' positions, met in file order.
        QList<std::pair<qint32, qint32>> parents; // record, then its slot
        for (qint32 k = 0; k < m_recordParentRecords.size(); ++k)
            parents.append({ m_recordParentRecords[k], vehicles + k });
        std::sort(parents.begin(), parents.end());
        t.m_recordParents.resize(m_recordParentRecords.size());
        auto parent = parents.cbegin();

        std::vector<qint32> next(t.m_childStart.cbegin(), t.m_childStart.cend() - 1);
        t.m_lineOffsets.setSize(records);
        for (qint32 i = 0; i < records; ++i) {
            const qint32 position = next[finalSlot(m_slots[i])]++;
            t.m_lineOffsets.set(position, m_offsets[i]);
            if (i % 4096 == 0) {
                m_offsets.releaseBefore(i);
                m_slots.releaseBefore(i);
            }
            if (parent != parents.cend() && parent->first == i) {
                t.m_recordParents[parent->second - vehicles] = vehicles + position;
                t.m_slotOfRecordParent.insert(vehicles + position, parent->second);
                ++parent;
            }
        }
    }

private:
    qint32 recordCount() const { return static_cast<qint32>(m_offsets.size()); }

    // The first node, in the order the nodes were added, whose text is the registration, as the slot of its
    // children: the vehicle's (the registration's vehicle, or NoNode), or a record's that comes before it.
    qint32 FindVehicleNode(QByteArrayView registration, qint32 vehicle)
    {
        const qint32 parentRecord = m_lastCouldNameRecord ? recordNamed(registration, vehicle) : NoNode;
        return parentRecord != NoNode ? recordParentSlot(parentRecord) : vehicle;
    }

    // Whether a registration could be a record node's text: it holds the names of both fields a record has. The
    // records' texts are looked at only for such a one, so that an odd registration otherwise costs nothing.
    static bool couldNameRecord(QByteArrayView registration)
    {
        return registration.contains("VehicleReg:") && registration.contains("MPG:");
    }

    // Made once the file's bytes have their place: its keys are views into them.
    ByteKeyed<qint32>& vehicleByRegistration()
    {
        if (!m_vehicleByRegistration)
            m_vehicleByRegistration.emplace(m_table.m_bytes);
        return *m_vehicleByRegistration;
    }

    // The record (by number in file order) whose node comes before the vehicle's node and whose text is the
    // registration, or NoNode. Asked only when couldNameRecord.
    qint32 recordNamed(QByteArrayView registration, qint32 vehicle)
    {
        if (!m_recordTextsIndexed) {
            m_recordTextsIndexed = true;
            for (qint32 record = 0; record < recordCount(); ++record)
                indexRecordText(record);
        }
        const qint32 record = m_recordByText.value(HistoryFile::decode(registration), NoNode);
        // A vehicle's node was added just before its first record's.
        if (record == NoNode || (vehicle != NoNode && m_vehicleFirstRecord[vehicle] <= record))
            return NoNode;
        return record;
    }

    void indexRecordText(qint32 record)
    {
        QString text = HistoryFile::decode(m_table.line(m_offsets[record])).replace(u';', u' ');
        if (!m_recordByText.contains(text)) // the first record of each text wins
            m_recordByText.insert(text, record);
    }

    // Record parents' slots while reading are RecordParentSlots - k, k counting them in the order they first got a
    // child: below NoNode, which stays "no node".
    static constexpr qint32 RecordParentSlots = NoNode - 1;
    qint32 recordParentSlot(qint32 record)
    {
        qsizetype k = m_recordParentRecords.indexOf(record);
        if (k < 0) {
            k = m_recordParentRecords.size();
            m_recordParentRecords.append(record);
        }
        return RecordParentSlots - static_cast<qint32>(k);
    }

    HistoryTable& m_table;
    MpgValues m_mpgs;
    std::optional<ByteKeyed<qint32>> m_vehicleByRegistration;
    qint32 m_lastVehicle = NoNode;
    QByteArrayView m_lastRegistration;
    bool m_lastCouldNameRecord = false; // couldNameRecord of the last registration
    std::vector<qint32> m_vehicleFirstRecord;
    // By record in file order: where its line starts, and its parent's slot.
    BlockArray<qsizetype> m_offsets;
    BlockArray<qint32> m_slots;
    QList<qint32> m_recordParentRecords;
    QHash<QString, qint32> m_recordByText; // built only once a registration could name a record
    bool m_recordTextsIndexed = false;
};

HistoryTable::Loaded HistoryTable::load(const QString& historyFilePath, const QLocale& locale)
{
    Loaded loaded;
    Builder builder(loaded.table, locale);
    try {
        HistoryFile::readLines(
            historyFilePath, loaded.table.m_bytes, [&builder](QByteArrayView line) { builder.addLine(line); });
    } catch (const AppError& error) {
        loaded.error = error;
    }
    builder.finish();
    return loaded;
}

qint32 HistoryTable::slotOf(qint32 node) const
{
    if (isVehicle(node))
        return node;
    return m_slotOfRecordParent.value(node, NoNode);
}

qint32 HistoryTable::slotAt(qint32 position) const
{
    const auto after = std::upper_bound(m_childStart.begin(), m_childStart.end(), position);
    return static_cast<qint32>(after - m_childStart.begin()) - 1;
}

qint32 HistoryTable::childCount(qint32 node) const
{
    const qint32 slot = slotOf(node);
    if (slot == NoNode)
        return 0;
    return m_childStart[slot + 1] - m_childStart[slot];
}

qint32 HistoryTable::child(qint32 node, qint32 row) const
{
    return vehicleCount() + m_childStart[slotOf(node)] + row;
}

qint32 HistoryTable::parent(qint32 node) const
{
    if (isVehicle(node))
        return NoNode;
    const qint32 slot = slotAt(node - vehicleCount());
    return slot < vehicleCount() ? slot : m_recordParents[slot - vehicleCount()];
}

qint32 HistoryTable::row(qint32 node) const
{
    if (isVehicle(node))
        return node;
    const qint32 position = node - vehicleCount();
    return position - m_childStart[slotAt(position)];
}

QByteArrayView HistoryTable::line(qsizetype start) const
{
    const QByteArrayView rest = QByteArrayView(m_bytes).sliced(start);
    const qsizetype end = rest.indexOf('\n');
    QByteArrayView found = end < 0 ? rest : rest.first(end);
    if (found.endsWith('\r'))
        found.chop(1);
    return found;
}

QString HistoryTable::text(qint32 node) const
{
    if (isVehicle(node)) {
        const Vehicle& vehicle = m_vehicles[node];
        return HistoryFile::decode(QByteArrayView(m_bytes).sliced(vehicle.registration, vehicle.registrationLength));
    }
    return HistoryFile::decode(line(m_lineOffsets[node - vehicleCount()])).replace(u';', u' ');
}

void HistoryTable::Vehicle::addMpg(double mpg)
{
    ++mpgCount;
    const double sum = mpgSum + std::ldexp(mpg, -mpgScale);
    if (std::isfinite(sum) || mpgScale != 0) {
        mpgSum = sum;
        return;
    }
    // Beyond the range of a double: from here on the sum is kept scaled down by 2^-SumScale, which is exact for
    // every MPG above 2^-958, and no count of records reachable can make it overflow again. Rounding is
    // monotonic, so the scaled sum over the count never passes the largest MPG scaled: the mean stays finite.
    mpgScale = SumScale;
    mpgSum = std::ldexp(mpgSum, -SumScale) + std::ldexp(mpg, -SumScale);
}

double HistoryTable::Vehicle::meanMpg() const
{
    return std::ldexp(mpgSum / static_cast<double>(mpgCount), mpgScale);
}

MeanList HistoryTable::means() const
{
    MeanList list;
    for (qint32 vehicle = 0; vehicle < vehicleCount(); ++vehicle) {
        const Vehicle& tally = m_vehicles[vehicle];
        if (tally.mpgCount == 0)
            continue;
        const QByteArrayView registration
            = QByteArrayView(m_bytes).sliced(tally.registration, tally.registrationLength);
        // A registration that begins with a visible ASCII character is not blank: only others are decoded to see.
        const bool visible = !registration.isEmpty() && registration.front() > ' ' && registration.front() < 0x7f;
        if (!visible && text(vehicle).trimmed().isEmpty())
            continue;
        list.m_registrations.append(registration);
        list.m_means.append(tally.meanMpg());
    }
    return list;
}

QString MeanList::text(qsizetype i, const QLocale& locale) const
{
    return QStringLiteral("Mean MPG for vehicle ") + HistoryFile::decode(m_registrations.at(i)) + QStringLiteral(" is ")
        + Numbers::formatTwoDecimals(m_means[i], locale);
}
