#pragma once

#include "history/TextArray.h"

#include <QAbstractListModel>
#include <QIcon>
#include <QStringList>

#include <functional>

// A list of texts from the history file, however many and however long, filled in one reset so that a view
// lays it out once. Each entry is shown on one line, cut to a display length (DisplayRole); its
// whole text is its EditRole, which is what is matched, chosen and saved.
// Not a QStringListModel: that holds a QString for every entry, while these texts stay in one buffer of the
// file's bytes (TextArray) or are made only when a view asks for them, so that a history of a hundred thousand
// vehicles fills its lists in little more time and memory than its file.
class TextListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit TextListModel(QObject* parent = nullptr);

    // The image shown beside every entry. Empty: no image.
    void setImageKey(const QString& key);
    void setTexts(TextArray texts);
    // count entries, whose texts textOf makes when a view asks for them.
    void setTexts(qsizetype count, std::function<QString(qsizetype entry)> textOf);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    TextArray m_texts;
    qsizetype m_count = 0;
    std::function<QString(qsizetype entry)> m_textOf; // when set, the texts' maker instead of m_texts
    mutable QString m_shown; // how m_shownEntry, the last made entry shown, is shown
    mutable qsizetype m_shownEntry = -1;
    QIcon m_image;
};
