#pragma once

#include "ImportPreview.h"

#include <QAbstractTableModel>

// The preview's lines in a grid: ファイル, Key, テーブル, 追加, 変更,
// 削除, 手入力, and a last row of the sums ("合計").
class ImportPreviewModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ImportPreviewModel(QObject *parent = nullptr);

    void setPreview(const ImportPreview &preview);
    // The line of a row; nullptr for the sums.
    const ImportPreview::Line *line(int row) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QVector<ImportPreview::Line> m_lines;
    ImportPreview::Line m_total;
};
