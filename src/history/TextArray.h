#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <initializer_list>
#include <vector>

// A list of texts held as one string and where each ends: a hundred thousand registrations or means cost their
// characters and one number each, not a string object apiece.
class TextArray
{
public:
    void append(QStringView text) { append({ text }); }

    // One text made of pieces, written straight into the list.
    void append(std::initializer_list<QStringView> pieces)
    {
        for (const QStringView piece : pieces)
            m_characters += piece;
        m_ends.push_back(m_characters.size());
    }

    qsizetype size() const { return static_cast<qsizetype>(m_ends.size()); }
    bool isEmpty() const { return m_ends.empty(); }

    QStringView at(qsizetype i) const
    {
        const qsizetype start = i == 0 ? 0 : m_ends[static_cast<size_t>(i - 1)];
        return QStringView(m_characters).sliced(start, m_ends[static_cast<size_t>(i)] - start);
    }

    QStringList toStringList() const
    {
        QStringList texts;
        for (qsizetype i = 0; i < size(); ++i)
            texts.append(at(i).toString());
        return texts;
    }

private:
    QString m_characters;
    std::vector<qsizetype> m_ends;
};
