#pragma once

// The simplest correct reading of a history file, for the tests and the fuzz targets to hold every fast reader
// against (the vehicle boxes, the History page's tree and means, the graph's points): the whole file split on
// LF, one CR dropped from each line, fields split on ";", a QString per field, and plain containers. Only the
// reading of a number is shared with the program (Numbers::parseStored).

#include "calc/Numbers.h"
#include "history/GraphData.h"
#include "history/HistoryTable.h"
#include "history/VehicleList.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QStringDecoder>

#include <cmath>
#include <optional>
#include <vector>

namespace Reference {

inline QString decode(const QByteArray& bytes)
{
    return QStringDecoder(
        QStringConverter::System, QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom)
        .decode(bytes);
}

// The vehicle boxes' texts, as VehicleList gives them.
inline QStringList registrations(const QString& path)
{
    QStringList texts;
    const TextArray found = VehicleList::registrations(path);
    for (qsizetype i = 0; i < found.size(); ++i)
        texts.append(found.at(i).toString());
    return texts;
}

// The lines that are records' candidates, each split into its fields.
inline std::vector<QList<QByteArray>> lines(const QByteArray& bytes)
{
    QList<QByteArray> all = bytes.split('\n');
    // After the last LF: nothing, or a last line that counts only when it ends with a whole Unit field.
    QByteArray last = all.takeLast();
    if (last.endsWith('\r'))
        last.chop(1);
    const QList<QByteArray> lastFields = last.split(';');
    if (lastFields.size() >= 2 && lastFields.last().isEmpty() && lastFields[lastFields.size() - 2].startsWith("Unit:"))
        all.append(bytes.mid(bytes.lastIndexOf('\n') + 1));
    std::vector<QList<QByteArray>> result;
    for (qsizetype i = 0; i < all.size(); ++i) {
        QByteArray line = all[i];
        if (i == 0 && line.startsWith("\xEF\xBB\xBF"))
            line.remove(0, 3);
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.endsWith('\x18')) // a torn line that a later save closed
            result.push_back(line.split(';'));
    }
    return result;
}

// The first field named name, its value's bytes.
inline std::optional<QByteArray> field(const QList<QByteArray>& fields, const QByteArray& name)
{
    for (const QByteArray& f : fields) {
        if (f.startsWith(name + ':'))
            return f.mid(name.size() + 1);
    }
    return std::nullopt;
}

// "" when every fast reader gives what the reference reading does, else what differs first. The graph is
// compared for the first graphs vehicles of the boxes.
inline QString differences(const QString& path, const QLocale& locale, qsizetype graphs = 4)
{
    QFile file(path);
    const std::vector<QList<QByteArray>> records
        = file.open(QIODevice::ReadOnly) ? lines(file.readAll()) : std::vector<QList<QByteArray>>();
    QStringList boxes;
    QSet<QByteArray> boxed;
    QHash<QByteArray, qsizetype> vehicleNode; // by the registration's bytes
    QHash<QString, qsizetype> recordNode; // the first record node of each text
    struct Node
    {
        QString text;
        std::vector<qsizetype> children;
        long double sum = 0, magnitude = 0;
        qint64 count = 0;
    };
    std::vector<Node> nodes;
    std::vector<qsizetype> roots;
    for (const QList<QByteArray>& fields : records) {
        const std::optional<QByteArray> reg = field(fields, "VehicleReg");
        if (reg && !boxed.contains(*reg)) {
            boxed.insert(*reg);
            boxes.append(decode(*reg));
        }
        const std::optional<QByteArray> mpg = field(fields, "MPG");
        if (!reg || !mpg)
            continue;
        // The first node added whose text is the registration: the vehicle's, or a record's before it.
        const qsizetype vehicle = vehicleNode.value(*reg, -1);
        const qsizetype named = recordNode.value(decode(*reg), -1);
        qsizetype parent = named >= 0 && (vehicle < 0 || named < vehicle) ? named : vehicle;
        if (parent < 0) {
            parent = vehicleNode[*reg] = static_cast<qsizetype>(nodes.size());
            roots.push_back(parent);
            nodes.push_back({ decode(*reg), {} });
        }
        if (const std::optional<double> value = Numbers::parseStored(decode(*mpg), locale);
            value && vehicleNode.contains(*reg)) {
            Node& tally = nodes[static_cast<size_t>(vehicleNode[*reg])];
            tally.sum += *value;
            tally.magnitude += std::fabs(*value);
            ++tally.count;
        }
        QStringList texts;
        for (const QByteArray& f : fields)
            texts.append(decode(f));
        const QString text = texts.join(u' ');
        nodes[static_cast<size_t>(parent)].children.push_back(static_cast<qsizetype>(nodes.size()));
        recordNode.insert(text, recordNode.value(text, static_cast<qsizetype>(nodes.size())));
        nodes.push_back({ text, {} });
    }

    if (registrations(path) != boxes)
        return QStringLiteral("vehicle boxes");

    const HistoryTable table = HistoryTable::load(path, locale).table;
    if (table.rootCount() != static_cast<qint32>(roots.size()))
        return QStringLiteral("vehicle count");
    std::vector<std::pair<qsizetype, qint32>> pending; // reference node, table node, depth first
    for (qint32 row = table.rootCount() - 1; row >= 0; --row)
        pending.emplace_back(roots[static_cast<size_t>(row)], table.root(row));
    while (!pending.empty()) {
        const auto [node, tableNode] = pending.back();
        pending.pop_back();
        const Node& n = nodes[static_cast<size_t>(node)];
        if (table.text(tableNode) != n.text || table.childCount(tableNode) != static_cast<qint32>(n.children.size()))
            return QStringLiteral("tree node ") + n.text.left(80);
        for (qint32 row = table.childCount(tableNode) - 1; row >= 0; --row)
            pending.emplace_back(n.children[static_cast<size_t>(row)], table.child(tableNode, row));
    }

    const MeanList means = table.means();
    qsizetype meanRow = 0;
    for (const qsizetype root : roots) {
        const Node& n = nodes[static_cast<size_t>(root)];
        if (n.count == 0 || n.text.trimmed().isEmpty())
            continue;
        const QString prefix = QStringLiteral("Mean MPG for vehicle ") + n.text + QStringLiteral(" is ");
        const QString shown = meanRow < means.size() ? means.text(meanRow++, locale) : QString();
        const double mean = static_cast<double>(n.sum / n.count);
        // Two decimals shown, and the rounding of a sum of doubles: up to an ulp of their magnitudes' sum.
        const double tolerance = 0.0051 + static_cast<double>(n.magnitude) * 4e-16 / static_cast<double>(n.count);
        const std::optional<double> value
            = shown.startsWith(prefix) ? Numbers::parseStored(shown.mid(prefix.size()), locale) : std::nullopt;
        if (!value || !(std::fabs(*value - mean) <= tolerance + std::fabs(mean) * 4e-16))
            return QStringLiteral("mean ") + shown.left(80);
    }
    if (meanRow != means.size())
        return QStringLiteral("mean count");

    for (const QString& chosen : boxes.mid(0, graphs)) {
        const QString key = chosen.toUpper().trimmed();
        QList<QPair<QString, double>> expected, got;
        for (const QList<QByteArray>& fields : records) {
            const std::optional<QByteArray> reg = field(fields, "VehicleReg"), mpg = field(fields, "MPG"),
                                            date = field(fields, "Date");
            const std::optional<double> value = reg && mpg && date && decode(*reg).toUpper().trimmed() == key
                ? Numbers::parseStored(decode(*mpg), locale)
                : std::nullopt;
            if (value)
                expected.append({ decode(*date), *value });
        }
        const GraphData::Points points = GraphData::points(path, chosen, locale);
        for (qsizetype i = 0; i < points.size(); ++i)
            got.append({ points.date(i), points.mpg(i) });
        if (got != expected)
            return QStringLiteral("graph of ") + chosen.left(80);
    }
    return {};
}

} // namespace Reference
