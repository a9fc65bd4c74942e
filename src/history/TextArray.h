#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

// A list of texts held as one buffer and where each ends: a hundred thousand registrations cost their
// characters and one number each, not a string object apiece. Buffer is QString or QByteArray, View its view.
template <typename Buffer, typename View> class PackedTexts
{
public:
    void append(View text)
    {
        m_characters.append(text);
        m_ends.append(m_characters.size());
    }

    qsizetype size() const { return m_ends.size(); }

    View at(qsizetype i) const
    {
        const qsizetype start = i == 0 ? 0 : m_ends[i - 1];
        return View(m_characters).sliced(start, m_ends[i] - start);
    }

private:
    Buffer m_characters;
    QList<qsizetype> m_ends;
};

using TextArray = PackedTexts<QString, QStringView>;
using ByteTextArray = PackedTexts<QByteArray, QByteArrayView>;
