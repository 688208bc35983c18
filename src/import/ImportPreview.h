#pragma once

#include "ImportChanges.h"
#include "store/History.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

class TDMdata;

// What an import would change, as its preview shows it: per file, PC and
// table, the rows it would add, change and delete, and how many of those
// changes touch what was entered by hand (rows of input kind "手入力", PC
// columns whose last change the history names "手入力"), each with the
// row's changed values. A row whose only change is a stamp (UpdateYMD,
// InvaroYMD) is no change, as in the history.
class ImportPreview : public ImportChanges
{
public:
    struct Detail
    {
        QString rowName;
        QString column; // empty for the whole row
        QString oldValue;
        QString newValue;
    };

    struct Line
    {
        QString file;
        QString key;
        QString table;
        int added = 0;
        int changed = 0;
        int removed = 0;
        int hand = 0;
        QVector<Detail> details;
    };

    explicit ImportPreview(TDMdata &dm);

    // Whether the lines keep their rows' changes (on by default); the
    // counts alone take little memory for a large folder.
    void setKeepsDetails(bool keeps) { m_keepsDetails = keeps; }

    // The file whose changes come next.
    void setFile(const QString &file) { m_file = file; }
    // The name the lines of the run's store-wide steps carry as their file.
    static QString storeWideFile();

    void rowChanged(TableId table, const QString &key, const TableImage::Row *before,
                    const TableImage::Row *after, bool ofNewPc) override;
    // A PC's network fields, changed by the network selection.
    void pcFieldsChanged(const QString &key, const QVector<History::ColumnChange> &changes);

    const QVector<Line> &lines() const { return m_lines; }
    // The sums of the counts ("合計").
    Line total() const;

    // The column titles: ファイル, Key, テーブル, 追加, 変更, 削除, 手入力.
    static QStringList header();

private:
    Line &lineOf(const QString &key, TableId table);
    int handColumns(const QString &key, const QVector<History::ColumnChange> &changes);

    TDMdata &m_dm;
    bool m_keepsDetails = true;
    QString m_file;
    QVector<Line> m_lines;
    QHash<QString, int> m_index; // file, key and table -> line
    QHash<QString, QSet<QString>> m_handColumns; // by PC key
};
