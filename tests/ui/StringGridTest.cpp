#include <gtest/gtest.h>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QTableView>
#include <QTest>
#include <vector>

#include "ui/app/StringGrid.h"

namespace {

// Centre of cell (column, row) of the ordinary cells, in the view's viewport.
QPoint CellCentre(const StringGrid& grid, int column, int row) {
    const QTableView* view = grid.View();
    return view->visualRect(view->model()->index(row - 1, column - 1)).center();
}

void ShowAndActivate(QWidget& window) {
    window.show();
    QApplication::setActiveWindow(&window);
    QApplication::processEvents();
}

TEST(StringGridTest, FixedRowAndColumnAreCellsShownAsHeaders) {
    StringGrid grid(3, 4);
    EXPECT_EQ(grid.ColumnCount(), 3);
    EXPECT_EQ(grid.RowCount(), 4);
    grid.SetCell(0, 0, "Period[sec]");
    grid.SetCell(2, 0, "Damp.=10%");
    grid.SetCell(0, 3, "0.040000");
    grid.SetCell(2, 3, "1.250000");
    EXPECT_EQ(grid.Cell(0, 0), "Period[sec]");
    EXPECT_EQ(grid.Cell(2, 0), "Damp.=10%");
    EXPECT_EQ(grid.Cell(0, 3), "0.040000");
    EXPECT_EQ(grid.Cell(2, 3), "1.250000");
    EXPECT_EQ(grid.Cell(1, 1), "");
    EXPECT_EQ(grid.Cell(3, 0), "");  // outside the grid
    EXPECT_EQ(grid.Cell(-1, 2), "");

    // What the view shows: row 0 as the column header, column 0 as the row header.
    const QAbstractItemModel* model = grid.View()->model();
    EXPECT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->columnCount(), 2);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Damp.=10%");
    EXPECT_EQ(model->headerData(2, Qt::Vertical).toString(), "0.040000");
    EXPECT_EQ(model->data(model->index(2, 1)).toString(), "1.250000");
    EXPECT_FALSE(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);
}

TEST(StringGridTest, CountsAndWidthsChangeWhileTheFixedRowAndColumnStay) {
    StringGrid grid(10, 5);
    grid.SetCell(1, 4, "old");
    grid.SetColumnCount(2);
    grid.SetRowCount(302);
    EXPECT_EQ(grid.ColumnCount(), 2);
    EXPECT_EQ(grid.RowCount(), 302);
    grid.SetCell(1, 301, "last");
    EXPECT_EQ(grid.Cell(1, 301), "last");
    EXPECT_EQ(grid.Cell(1, 4), "old");

    for (int column = 0; column < grid.ColumnCount(); ++column) {
        grid.SetColumnWidth(column, 80);
        EXPECT_EQ(grid.ColumnWidth(column), 80);
    }
    EXPECT_EQ(grid.View()->verticalHeader()->width(), 80);

    // Shrinking drops the cells that fall outside; growing again brings back empty ones.
    grid.SetRowCount(3);
    grid.SetColumnCount(1);
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.ColumnCount(), 1);
    grid.SetRowCount(302);
    grid.SetColumnCount(2);
    EXPECT_EQ(grid.Cell(1, 301), "");
}

TEST(StringGridTest, ClearingEmptiesEveryTextAndKeepsTheSizes) {
    StringGrid grid(3, 3);
    grid.BeginUpdate();
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            grid.SetCell(column, row, QString::number(row * 3 + column));
        }
    }
    grid.EndUpdate();
    EXPECT_EQ(grid.Cell(2, 2), "8");
    grid.SetColumnWidth(1, 80);
    grid.ClearCells();
    EXPECT_EQ(grid.ColumnCount(), 3);
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.ColumnWidth(1), 80);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            EXPECT_EQ(grid.Cell(column, row), "");
        }
    }
}

TEST(StringGridTest, SelectionIsTheCurrentCellUntilARangeIsSet) {
    StringGrid grid(4, 6);
    EXPECT_EQ(grid.Selection(), (GridSelection{1, 1, 1, 1}));

    // The whole grid, fixed cells included, comes back exactly as set.
    grid.SetSelection({0, 0, 3, 5});
    EXPECT_EQ(grid.Selection(), (GridSelection{0, 0, 3, 5}));
    EXPECT_EQ(grid.View()->selectionModel()->selectedIndexes().size(), 3 * 5);

    grid.SetSelection({2, 3, 3, 4});
    EXPECT_EQ(grid.Selection(), (GridSelection{2, 3, 3, 4}));

    // Nothing is clamped, even beyond the grid.
    grid.SetSelection({0, 0, 9, 9});
    EXPECT_EQ(grid.Selection(), (GridSelection{0, 0, 9, 9}));
}

TEST(StringGridTest, MouseSelectionGivesAnOrderedInclusiveRange) {
    StringGrid grid(5, 8);
    grid.resize(500, 400);
    ShowAndActivate(grid);
    QWidget* viewport = grid.View()->viewport();

    grid.SetSelection({0, 0, 4, 7});
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, CellCentre(grid, 3, 5));
    EXPECT_EQ(grid.Selection(), (GridSelection{3, 5, 3, 5}));

    // Extending towards the top left still gives left <= right and top <= bottom.
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, CellCentre(grid, 1, 2));
    EXPECT_EQ(grid.Selection(), (GridSelection{1, 2, 3, 5}));
}

TEST(StringGridTest, KeysAreReportedBeforeTheGridHandlesThem) {
    StringGrid grid(4, 6);
    grid.resize(400, 300);
    ShowAndActivate(grid);
    grid.setFocus();
    grid.SetSelection({1, 1, 1, 1});

    std::vector<GridSelection> seenByHandler;
    std::vector<int> keys;
    QObject::connect(&grid, &StringGrid::KeyDown, [&](int key, Qt::KeyboardModifiers modifiers) {
        keys.push_back(key);
        EXPECT_EQ(modifiers, Qt::NoModifier);
        seenByHandler.push_back(grid.Selection());
    });
    QTest::keyClick(grid.View(), Qt::Key_Down);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0], Qt::Key_Down);
    EXPECT_EQ(seenByHandler[0], (GridSelection{1, 1, 1, 1}));
    // The key was not consumed: the grid moved its current cell afterwards.
    EXPECT_EQ(grid.Selection(), (GridSelection{1, 2, 1, 2}));

    // A key sent to the grid widget itself reaches the handler once as well.
    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_EQ(keys.size(), 2u);
    EXPECT_EQ(grid.Selection(), (GridSelection{2, 2, 2, 2}));
}

TEST(StringGridTest, CtrlCAndCtrlAAreLeftToTheWindows) {
    StringGrid grid(4, 6);
    grid.SetCell(2, 3, "cell text");
    ShowAndActivate(grid);
    grid.setFocus();
    grid.SetSelection({2, 3, 2, 3});
    QApplication::clipboard()->setText("before");

    int reported = 0;
    QObject::connect(&grid, &StringGrid::KeyDown, [&](int key, Qt::KeyboardModifiers modifiers) {
        if (key == Qt::Key_Control) {
            return;  // the modifier's own key press is reported as well
        }
        EXPECT_TRUE(key == 'A' || key == 'C');
        EXPECT_TRUE(modifiers & Qt::ControlModifier);
        ++reported;
    });
    QTest::keyClick(grid.View(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(grid.View(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(reported, 2);
    EXPECT_EQ(QApplication::clipboard()->text(), "before");
    EXPECT_EQ(grid.Selection(), (GridSelection{2, 3, 2, 3}));
}

TEST(StringGridTest, OnlyTheFocusedGridHasTheFocus) {
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    auto* first = new StringGrid(3, 3);
    auto* second = new StringGrid(3, 3);
    layout->addWidget(first);
    layout->addWidget(second);
    ShowAndActivate(window);

    second->setFocus();
    EXPECT_TRUE(second->HasFocus());
    EXPECT_FALSE(first->HasFocus());
    first->setFocus();
    EXPECT_TRUE(first->HasFocus());
    EXPECT_FALSE(second->HasFocus());
}

}  // namespace
