#include "base/GridRoles.h"
#include "kit/TDBGridEx.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTest>
#include <QWheelEvent>

namespace {

// Three columns A, B, C and two rows; B's cells carry a plain text that
// differs from their display.
QStandardItemModel *makeModel(QObject *parent, int rows = 2)
{
    auto *model = new QStandardItemModel(rows, 3, parent);
    model->setHorizontalHeaderLabels({"A", "B", "C"});
    for (int r = 0; r < rows; ++r) {
        model->setItem(r, 0, new QStandardItem(QStringLiteral("a%1").arg(r)));
        auto *b = new QStandardItem(QStringLiteral("1,23%1").arg(r));
        b->setData(QStringLiteral("123%1").arg(r), GridRoles::PlainText);
        model->setItem(r, 1, b);
        model->setItem(r, 2, new QStandardItem(QString()));
    }
    return model;
}

// Many rows computed on demand: a grid too large to copy in one go.
class ManyRows : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;
    int rowCount(const QModelIndex & = {}) const override { return 300000; }
    int columnCount(const QModelIndex & = {}) const override { return 3; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        return role == Qt::DisplayRole ? QVariant(index.row() * 3 + index.column()) : QVariant();
    }
    void reorder()
    {
        emit layoutAboutToBeChanged();
        emit layoutChanged();
    }
};

void wheel(QWidget *w, int notches, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWheelEvent e(QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120 * notches),
                  Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

} // namespace

class TstGridEx : public QObject
{
    Q_OBJECT

private slots:
    void copyFormats()
    {
        TDBGridEx grid;
        grid.setModel(makeModel(&grid));
        QCOMPARE(grid.allFieldsText(), QStringLiteral("A\tB\tC\ra0\t1230\t\ra1\t1231\t\r"));

        // Hidden first column: no leading tab; moved columns in screen order.
        grid.setColumnHidden(0, true);
        grid.horizontalHeader()->moveSection(2, 1); // C before B on screen
        QCOMPARE(grid.shownColumnsText(), QStringLiteral("C\tB\r\t1230\r\t1231\r"));
        // All fields ignore order and visibility.
        QCOMPARE(grid.allFieldsText(), QStringLiteral("A\tB\tC\ra0\t1230\t\ra1\t1231\t\r"));

        grid.CopyShownColumns();
        QCOMPARE(QApplication::clipboard()->text(), grid.shownColumnsText());
        grid.CopyAllFields();
        QCOMPARE(QApplication::clipboard()->text(), grid.allFieldsText());
    }

    void emptyListCopiesTheCaptions()
    {
        TDBGridEx grid;
        grid.setModel(makeModel(&grid, 0));
        QCOMPARE(grid.allFieldsText(), QStringLiteral("A\tB\tC\r"));
        TDBGridEx noModel;
        QCOMPARE(noModel.allFieldsText(), QString());
    }

    // A grid of many rows is copied in slices, the window answering
    // meanwhile: the clipboard gets the whole text at the end, and a model
    // that changes meanwhile ends the copy without touching the clipboard.
    void largeGridCopiesInSlices()
    {
        TDBGridEx grid;
        auto *model = new ManyRows(&grid);
        grid.setModel(model);
        QApplication::clipboard()->setText(QStringLiteral("before"));
        grid.CopyAllFields();
        QVERIFY(grid.isCopying());
        QTRY_VERIFY_WITH_TIMEOUT(!grid.isCopying(), 20000);
        QCOMPARE(QApplication::clipboard()->text(), grid.allFieldsText());

        QApplication::clipboard()->setText(QStringLiteral("before"));
        grid.CopyShownColumns();
        QVERIFY(grid.isCopying());
        model->reorder();
        QVERIFY(!grid.isCopying());
        QTest::qWait(50);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
    }

    void wheelMovesTheCurrentRow()
    {
        TDBGridEx grid;
        grid.setModel(makeModel(&grid, 5));
        grid.resize(300, 200);
        grid.show();
        grid.setCurrentIndex(grid.model()->index(0, 0));
        grid.selectionModel()->select(grid.model()->index(4, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
        wheel(grid.viewport(), -2); // two notches down
        QCOMPARE(grid.currentIndex().row(), 2);
        QVERIFY(grid.selectionModel()->selectedRows().isEmpty()); // the selection is dropped
        wheel(grid.viewport(), 9); // beyond the top stays on the first row
        QCOMPARE(grid.currentIndex().row(), 0);

        grid.selectionModel()->select(grid.model()->index(3, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
        wheel(grid.viewport(), -1, Qt::ControlModifier);
        QCOMPARE(grid.currentIndex().row(), 1);
        QVERIFY(grid.selectionModel()->isRowSelected(3, QModelIndex()));
    }
};

QTEST_MAIN(TstGridEx)
#include "tst_gridex.moc"
