#pragma once

#include "Statistics.h"

#include <QAbstractTableModel>

// The rows of the overall status as the grid shows them: Komoku and Kensu
// under the titles of the grouping, values as stored (counts and clocks
// without thousands separators, empty for NULL).
class StatisticsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit StatisticsModel(QObject *parent = nullptr);

    // Replaces the rows and the two column titles.
    void setRows(const QVector<Statistics::Row> &rows, const QString &komokuTitle,
                 const QString &kensuTitle);
    // No rows (the titles stay).
    void clear();
    const QVector<Statistics::Row> &rows() const { return m_rows; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QVector<Statistics::Row> m_rows;
    QString m_titles[2];
};
