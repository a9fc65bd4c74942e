#pragma once

#include "BlockArray.h"
#include "ByteKeyed.h"

#include <QLocale>
#include <QString>

#include <array>
#include <vector>

// The points of one vehicle's mileage graph.
namespace GraphData {

// One vehicle's saved calculations in file order: each one's whole "Date" text and its MPG, in eight bytes a
// point. A date is kept as its digits, packed into one number, and its other characters, which the dates of a
// history share (the form the regional settings gave it): one form, with one MPG value, is a style, and a
// point is its style and its digits. A date of more than 14 digits, or a point once the styles run out, is
// kept whole instead.
//
// A point's form and style are looked up in three tiers: the last form, then a 1,024-entry table of recent
// styles, then the ByteKeyed maps. With the maps alone the graph of one vehicle of 1,000,000 records took
// 151 ms instead of 118 ms.
class Points
{
public:
    void append(QByteArrayView date, double mpg);

    qsizetype size() const { return m_words.size(); }
    bool empty() const { return size() == 0; }
    double mpg(qsizetype i) const;
    // The record's whole "Date" text, decoded.
    QString date(qsizetype i) const;
    // The category label: the first 10 characters of the date, normally the date alone.
    QString label(qsizetype i) const { return date(i).left(10); }

private:
    struct Style
    {
        qint32 form; // into m_forms
        double mpg;
    };
    struct Whole
    {
        qsizetype offset; // of the date's bytes in m_wholeDates
        qsizetype length;
        double mpg;
    };

    BlockArray<quint64> m_words; // a style and a date's digits, or WholeBit and an index into m_wholes
    std::vector<QByteArray> m_forms; // a date's bytes with each ASCII digit written as '0'
    std::vector<Style> m_styles;
    std::vector<Whole> m_wholes;
    QByteArray m_wholeDates;
    ByteKeyed<qint32> m_formIndex;
    qint32 m_lastForm = -1;
    ByteKeyed<qint32> m_styleIndex; // by the form's number and the MPG's bits
    struct StyleCacheEntry
    {
        quint64 mpgBits = 0;
        qint32 form = -1;
        qint32 style = -1;
    };
    std::array<StyleCacheEntry, 1024> m_styleCache {};
};

// The records of the chosen vehicle in file order, one point each. A record counts when it holds "MPG",
// "VehicleReg" and "Date", its MPG is a number (Numbers::parseStored), and its registration equals the chosen
// one once both are upper-cased and trimmed. An absent file has no points. Throws AppError when the file cannot
// be read.
Points points(const QString& historyFilePath, const QString& chosenRegistration, const QLocale& locale);

} // namespace GraphData
