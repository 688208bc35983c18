#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class QAbstractItemModel;
class WaitCursor;

// A copy of a grid's rows to the clipboard, tab-separated, each line
// ending in CR, the column titles first. A grid of many rows is copied a
// slice at a time between the window's events, so that the window keeps
// answering: a slice stops after SliceMs, and the clipboard gets the text
// when the last row is in. A model that is reset, re-sorted or loses rows
// meanwhile ends the copy without touching the clipboard (the user copies
// again). A small grid is copied at once.
class GridCopy : public QObject
{
    Q_OBJECT

public:
    static constexpr int SliceMs = 15;
    // Grids of at most this many cells are copied in one go.
    static constexpr qint64 AtOnceCells = 100000;

    // Starts the copy of the given columns of model (in that order).
    GridCopy(const QAbstractItemModel *model, QList<int> columns, QObject *parent = nullptr);
    ~GridCopy() override;

    bool isRunning() const { return m_running; }
    // The whole text at once, on this thread (for small grids and tests).
    static QString text(const QAbstractItemModel *model, const QList<int> &columns);

signals:
    // The text is on the clipboard (copied true) or the copy was given up.
    void finished(bool copied);

private:
    void appendRows(int limitMs);
    void step();
    void end(bool copied);

    QPointer<const QAbstractItemModel> m_model;
    QList<int> m_columns;
    QString m_text;
    int m_row = 0;
    bool m_running = true;
    std::unique_ptr<WaitCursor> m_wait;
};
