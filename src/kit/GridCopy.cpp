#include "GridCopy.h"

#include "WaitCursor.h"
#include "base/GridRoles.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QTimer>

namespace {

QString cellText(const QAbstractItemModel *model, int row, int column)
{
    const QModelIndex index = model->index(row, column);
    const QVariant plain = model->data(index, GridRoles::PlainText);
    return plain.isValid() ? plain.toString() : model->data(index, Qt::DisplayRole).toString();
}

QString titleLine(const QAbstractItemModel *model, const QList<int> &columns)
{
    QStringList cells;
    for (int c : columns)
        cells << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    return cells.join(u'\t') + u'\r';
}

// Appends the line of a row.
void appendRow(QString &text, const QAbstractItemModel *model, int row, const QList<int> &columns)
{
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (i > 0)
            text += u'\t';
        text += cellText(model, row, columns.at(i));
    }
    text += u'\r';
}

} // namespace

QString GridCopy::text(const QAbstractItemModel *model, const QList<int> &columns)
{
    if (!model)
        return QString();
    QString text = titleLine(model, columns);
    const int rows = model->rowCount();
    for (int r = 0; r < rows; ++r)
        appendRow(text, model, r, columns);
    return text;
}

GridCopy::GridCopy(const QAbstractItemModel *model, QList<int> columns, QObject *parent)
    : QObject(parent), m_model(model), m_columns(std::move(columns))
{
    if (!model) {
        m_running = false;
        return;
    }
    const auto giveUp = [this] {
        if (m_running)
            end(false);
    };
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, giveUp);
    connect(model, &QAbstractItemModel::layoutAboutToBeChanged, this, giveUp);
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, giveUp);
    connect(model, &QAbstractItemModel::columnsAboutToBeRemoved, this, giveUp);
    connect(model, &QAbstractItemModel::columnsAboutToBeInserted, this, giveUp);
    connect(model, &QObject::destroyed, this, giveUp);
    m_text = titleLine(model, m_columns);
    const qint64 cells = qint64(model->rowCount()) * qMax<qsizetype>(1, m_columns.size());
    appendRows(cells <= AtOnceCells ? -1 : SliceMs);
    if (m_row >= model->rowCount()) {
        end(true);
        return;
    }
    // The rest takes about as much per row as the first slice: reserved at
    // once, the text does not grow by doubling past what it needs.
    if (m_row > 0)
        m_text.reserve(qsizetype(double(m_text.size()) / m_row * model->rowCount() * 1.05));
    m_wait = std::make_unique<WaitCursor>();
    QTimer::singleShot(0, this, &GridCopy::step);
}

GridCopy::~GridCopy() = default;

void GridCopy::appendRows(int limitMs)
{
    QElapsedTimer clock;
    clock.start();
    const int rows = m_model->rowCount();
    while (m_row < rows) {
        appendRow(m_text, m_model, m_row, m_columns);
        ++m_row;
        // The clock is read every 64 rows: reading it costs too.
        if (limitMs >= 0 && (m_row & 63) == 0 && clock.elapsed() >= limitMs)
            return;
    }
}

void GridCopy::step()
{
    if (!m_running || !m_model)
        return;
    appendRows(SliceMs);
    if (m_row >= m_model->rowCount())
        end(true);
    else
        QTimer::singleShot(0, this, &GridCopy::step);
}

void GridCopy::end(bool copied)
{
    m_running = false;
    if (copied)
        QApplication::clipboard()->setText(m_text);
    m_text.clear();
    m_wait.reset();
    emit finished(copied);
}
