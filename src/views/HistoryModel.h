#pragma once

#include "store/HistoryReader.h"

#include <QAbstractTableModel>
#include <QVector>

// Lines of the history in a grid, in the columns chosen: 日時, 操作,
// 変更者, Key, テーブル, 行, 項目, 変更前, 変更後. The copies of the grids
// take the texts as shown.
class HistoryModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum class Column { At, Operation, Who, Key, Table, Row, ColumnName, OldValue, NewValue };

    explicit HistoryModel(QVector<Column> columns, QObject *parent = nullptr);

    // Every column, in the order above.
    static QVector<Column> allColumns();
    static QString title(Column column);
    // The time of a line as shown: "yyyy/mm/dd hh:mm:ss".
    static QString timeText(const QDateTime &at);

    void setLines(QVector<HistoryLine> lines);
    const QVector<HistoryLine> &lines() const { return m_lines; }
    // The text of a line's column as shown.
    static QString text(const HistoryLine &line, Column column);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QVector<Column> m_columns;
    QVector<HistoryLine> m_lines;
};
