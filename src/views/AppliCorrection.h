#pragma once

#include <QAbstractTableModel>
#include <QVector>

class TDMdata;

// The application data correction: the application rows whose input kind
// is empty, corrected one by one in the grid or all at once ("実 行"). The
// corrections are kept apart and written in one short transaction at OK
// (apply), in the order they were made; Cancel drops them. So the window
// holds no store transaction while it is open.
class AppliCorrection : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit AppliCorrection(TDMdata &dm, QObject *parent = nullptr);

    // Whether some application row has no input kind. Throws StoreError.
    static bool needed(TDMdata &dm);

    // Reads the rows without an input kind. Throws StoreError.
    void load();
    // "実 行": every row without an input kind, of all PCs, gets this one;
    // the grid then shows those still without one.
    void setAll(const QString &kind);
    // Writes the corrections. Throws StoreError, with nothing written.
    void apply();
    bool hasChanges() const { return !m_steps.isEmpty(); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    // A typed input kind was refused (a character CP932 lacks, too long);
    // the text to show.
    void refused(const QString &message);

private:
    struct Row
    {
        QString key;
        QString appli;
        QString kind;
    };
    // A correction: one row's kind, or the kind of all empty ones.
    struct Step
    {
        bool all = false;
        QString key;
        QString appli;
        QString kind;
    };

    // The kind as stored (EntryText); throws InputError.
    static QString fitted(const QString &kind);

    TDMdata &m_dm;
    QVector<Row> m_rows;
    QVector<Step> m_steps;
};
