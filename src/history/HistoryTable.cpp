#include "HistoryTable.h"

#include "HistoryFile.h"
#include "MpgValues.h"
#include "RecordField.h"
#include "calc/Numbers.h"

#include <QFileInfo>

#include <cmath>

bool HistoryTable::load(const QString& historyFilePath, const QLocale& locale, HistoryTable& table)
{
    table.clear();
    table.m_lines.reserve(QFileInfo(historyFilePath).size());
    MpgValues mpgs(locale);
    return HistoryFile::forEachLine(historyFilePath, [&](QByteArrayView line) {
        const std::optional<QByteArrayView> reg = RecordField::find(line, "VehicleReg:");
        const std::optional<QByteArrayView> mpg = RecordField::find(line, "MPG:");
        if (reg && mpg)
            table.addRecord(line, *reg, mpgs.read(*mpg));
    });
}

void HistoryTable::clear()
{
    *this = HistoryTable();
}

void HistoryTable::addRecord(QByteArrayView line, QByteArrayView registration, std::optional<double> mpg)
{
    m_records.push_back({ m_lines.size(), line.size() });
    m_lines.append(line);

    const qint32* vehicleNode = m_vehicleByRegistration.find(registration);
    qint32 parent = FindVehicleNode(registration, vehicleNode ? *vehicleNode : NoNode);
    if (parent == NoNode) {
        m_vehicles.push_back({ HistoryFile::decode(registration), NoNode });
        parent = addNode(NoNode, qint32(m_vehicles.size() - 1));
        m_vehicles.back().node = parent;
        vehicleNode = &m_vehicleByRegistration.insert(registration, parent);
    }

    // The tally belongs to the vehicle of that registration, whichever node the record went under.
    if (mpg && vehicleNode) {
        Vehicle& vehicle = m_vehicles[size_t(m_nodes[size_t(*vehicleNode)].item)];
        vehicle.addMpg(*mpg);
    }

    const qint32 node = addNode(parent, qint32(m_records.size() - 1));
    if (m_recordTextsIndexed)
        indexRecordText(node);
}

qint32 HistoryTable::addNode(qint32 parent, qint32 item)
{
    const qint32 node = qint32(m_nodes.size());
    std::vector<qint32>& siblings = parent == NoNode ? m_roots : m_children[parent];
    m_nodes.push_back({ parent, qint32(siblings.size()), item });
    siblings.push_back(node);
    return node;
}

qint32 HistoryTable::childCount(qint32 node) const
{
    const auto children = m_children.constFind(node);
    return children == m_children.constEnd() ? 0 : qint32(children->size());
}

qint32 HistoryTable::child(qint32 node, qint32 row) const
{
    return m_children.constFind(node)->at(size_t(row));
}

QString HistoryTable::text(qint32 node) const
{
    const Node& n = m_nodes[size_t(node)];
    if (n.parent == NoNode)
        return m_vehicles[size_t(n.item)].registration;
    const Record& record = m_records[size_t(n.item)];
    return HistoryFile::decode(QByteArrayView(m_lines).sliced(record.offset, record.length)).replace(u';', u' ');
}

void HistoryTable::indexRecordText(qint32 node)
{
    QString recordText = text(node);
    if (!m_recordNodeByText.contains(recordText)) // the first node of each text wins
        m_recordNodeByText.insert(std::move(recordText), node);
}

qint32 HistoryTable::FindVehicleNode(QByteArrayView registration, qint32 vehicle)
{
    // Every record node's text holds its "VehicleReg:" field, so only such a text can name a record node.
    if (!registration.contains("VehicleReg:"))
        return vehicle;
    const QString text = HistoryFile::decode(registration);
    if (!m_recordTextsIndexed) {
        m_recordTextsIndexed = true;
        for (qint32 node = 0; node < nodeCount(); ++node) {
            if (!isVehicle(node))
                indexRecordText(node);
        }
    }
    const qint32 record = m_recordNodeByText.value(text, NoNode);
    if (record == NoNode || (vehicle != NoNode && vehicle < record))
        return vehicle;
    return record;
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
    return std::ldexp(mpgSum / double(mpgCount), mpgScale);
}

QStringList HistoryTable::meanTexts(const QLocale& locale) const
{
    QStringList texts;
    for (const Vehicle& vehicle : m_vehicles) {
        if (vehicle.registration.trimmed().isEmpty() || vehicle.mpgCount == 0)
            continue;
        texts.append(QStringLiteral("Mean MPG for vehicle ") + vehicle.registration + QStringLiteral(" is ")
            + Numbers::formatTwoDecimals(vehicle.meanMpg(), locale));
    }
    return texts;
}
