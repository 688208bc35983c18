#pragma once

#include <QDate>
#include <QDateTime>
#include <QSet>
#include <QString>
#include <QVector>

class TDMdata;

// One line of the history as read back.
struct HistoryLine
{
    qint64 id = 0;
    QDateTime at;
    QString operation;
    QString who;
    QString key;
    QString table;
    QString rowName;
    QString column;
    QString oldValue;
    QString newValue;
};

// Which lines to read; an empty field does not filter.
struct HistoryFilter
{
    QString key;
    QDate since; // from this day on
    QDate until; // up to this day, the whole day
    QString table;
    QString operation;
    QString department; // the PC's Bu as it stands now
    bool newestFirst = false;
};

// Reading and pruning the history (Schema::historyTable). A store without
// the table (an older store opened read-only) reads as an empty history.
// Store errors throw StoreError.
namespace HistoryReader {

bool available(TDMdata &dm);

// The lines in time order (oldest or newest first), read in full.
QVector<HistoryLine> read(TDMdata &dm, const HistoryFilter &filter);

// The PC columns of this PC whose last recorded change was typed by hand
// (History::manual()).
QSet<QString> handEnteredColumns(TDMdata &dm, const QString &key);

// Deletes the lines older than the day (before its first moment) in one
// transaction; the number deleted.
int pruneBefore(TDMdata &dm, const QDate &day);

} // namespace HistoryReader
