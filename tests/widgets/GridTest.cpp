#include "Grid.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {
// Column 1 text, column 2 number, column 3 text: the rows given as "a,1,x".
void fill(Grid& grid, const QStringList& rows)
{
    grid.setMaxCols(3);
    grid.setColumnKind(2, Grid::ColumnKind::Number);
    grid.setMaxRows(int(rows.size()));
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const QStringList cells = rows[r].split(u',');
        for (qsizetype c = 0; c < cells.size(); ++c)
            grid.setText(int(c) + 1, int(r) + 1, cells[c]);
    }
}

QStringList column(const Grid& grid, int c)
{
    QStringList values;
    for (int r = 1; r <= grid.maxRows(); ++r)
        values.append(grid.text(c, r));
    return values;
}
} // namespace

TEST(GridCells, CountFromOneWithTheHeaderInRowZero)
{
    Grid grid;
    grid.setMaxCols(2);
    grid.setMaxRows(3);
    grid.setHeaders({u"회차"_s, u"번호"_s});
    grid.setText(1, 1, u"1201"_s);
    grid.setText(2, 3, u"03.11.19.24.38.45"_s);
    EXPECT_EQ(grid.text(1, 0), u"회차"_s);
    EXPECT_EQ(grid.model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), u"번호"_s);
    EXPECT_EQ(grid.text(1, 1), u"1201"_s);
    EXPECT_EQ(grid.text(2, 3), u"03.11.19.24.38.45"_s);
    EXPECT_EQ(grid.text(2, 2), QString());

    // Outside the grid: reads are empty, writes are ignored.
    grid.setText(3, 1, u"x"_s);
    grid.setText(1, 4, u"x"_s);
    EXPECT_EQ(grid.text(3, 1), QString());
    EXPECT_EQ(grid.text(0, 0), QString());
    EXPECT_EQ(grid.maxRows(), 3);
    EXPECT_EQ(grid.maxCols(), 2);

    grid.setNumber(1, 2, 50000);
    EXPECT_EQ(grid.text(1, 2), u"50000"_s);
    grid.setNumber(1, 2, 2.5);
    EXPECT_EQ(grid.text(1, 2), u"2.5"_s);
}

TEST(GridCells, RowCountEmptiesAndGrows)
{
    Grid grid;
    fill(grid, {u"a,1,x"_s, u"b,2,y"_s});
    grid.setMaxRows(4);
    EXPECT_EQ(grid.text(1, 2), u"b"_s);
    EXPECT_EQ(grid.text(1, 4), QString());
    grid.setMaxRows(0);
    EXPECT_EQ(grid.maxRows(), 0);
    grid.setMaxRows(2);
    EXPECT_EQ(grid.text(1, 1), QString()); // emptied rows come back empty
    // Adding a column keeps the cells already there.
    fill(grid, {u"a,1,x"_s});
    grid.setMaxCols(5);
    EXPECT_EQ(grid.text(3, 1), u"x"_s);
    EXPECT_EQ(grid.text(5, 1), QString());
}

TEST(GridCells, CheckBoxesReadOneOrZero)
{
    Grid grid;
    grid.setMaxCols(1);
    grid.setMaxRows(2);
    grid.setColumnKind(1, Grid::ColumnKind::Check);
    grid.setColumnEditable(1, true);
    grid.setText(1, 1, u"0"_s);
    EXPECT_FALSE(grid.isChecked(1, 1));
    grid.model()->setData(grid.model()->index(0, 0), Qt::Checked, Qt::CheckStateRole);
    EXPECT_TRUE(grid.isChecked(1, 1));
    EXPECT_EQ(grid.text(1, 1), u"1"_s);
    grid.model()->setData(grid.model()->index(0, 0), Qt::Unchecked, Qt::CheckStateRole);
    EXPECT_EQ(grid.text(1, 1), u"0"_s);
    EXPECT_TRUE(grid.model()->flags(grid.model()->index(0, 0)).testFlag(Qt::ItemIsUserCheckable));
}

TEST(GridCells, HiddenColumnsKeepTheirValues)
{
    Grid grid;
    fill(grid, {u"a,1,secret"_s});
    grid.setColumnHidden(3, true);
    EXPECT_TRUE(grid.isColumnHidden(3));
    EXPECT_EQ(grid.text(3, 1), u"secret"_s);
    grid.setText(3, 1, u"changed"_s);
    EXPECT_EQ(grid.text(3, 1), u"changed"_s);
}

TEST(GridSort, SecondKeyDecidesTiesAndEqualRowsKeepTheirOrder)
{
    Grid grid;
    fill(grid, {u"b,2,r1"_s, u"a,10,r2"_s, u"b,1,r3"_s, u"a,9,r4"_s, u"b,1,r5"_s});
    grid.sortRows(1, 5, {1, Qt::AscendingOrder}, Grid::SortKey {2, Qt::AscendingOrder});
    // Numbers compare as numbers: 9 before 10.
    EXPECT_EQ(column(grid, 3), (QStringList {u"r4"_s, u"r2"_s, u"r3"_s, u"r5"_s, u"r1"_s}));

    grid.sortRows(1, 5, {2, Qt::DescendingOrder});
    EXPECT_EQ(column(grid, 3), (QStringList {u"r2"_s, u"r4"_s, u"r1"_s, u"r3"_s, u"r5"_s}));
    // Rows move with all their cells.
    EXPECT_EQ(grid.text(1, 1), u"a"_s);
    EXPECT_EQ(grid.text(2, 1), u"10"_s);
}

TEST(GridSort, OnlyTheBlockMoves)
{
    Grid grid;
    fill(grid, {u"z,1,fixed"_s, u"c,1,r2"_s, u"b,1,r3"_s, u"a,1,r4"_s, u"0,1,tail"_s});
    grid.sortRows(2, 4, {1, Qt::AscendingOrder});
    EXPECT_EQ(column(grid, 3), (QStringList {u"fixed"_s, u"r4"_s, u"r3"_s, u"r2"_s, u"tail"_s}));
    grid.sortRows(1, 5, {9, Qt::AscendingOrder}); // no such column: nothing moves
    EXPECT_EQ(grid.text(3, 1), u"fixed"_s);
}

TEST(GridSort, ColoursAndRowLabelsTravelWithTheirRows)
{
    Grid grid;
    fill(grid, {u"b,2,r1"_s, u"a,1,r2"_s, u"c,3,r3"_s, u"d,4,fixed"_s});
    const QColor red(255, 0, 0), blue(0, 0, 255);
    grid.setRowColor(1, red);
    grid.setCellColor(3, 3, blue);
    grid.setRowNumbers({u"L1"_s, u"L2"_s, u"L3"_s});
    grid.sortRows(1, 3, {1, Qt::DescendingOrder}); // c(r3), b(r1), a(r2)
    ASSERT_EQ(column(grid, 3), (QStringList {u"r3"_s, u"r1"_s, u"r2"_s, u"fixed"_s}));
    EXPECT_EQ(grid.cellColor(1, 2), red);
    EXPECT_EQ(grid.cellColor(1, 1), QColor());
    EXPECT_EQ(grid.cellColor(3, 1), blue);
    EXPECT_EQ(grid.cellColor(3, 3), QColor());
    auto label = [&](int row) { return grid.model()->headerData(row - 1, Qt::Vertical, Qt::DisplayRole).toString(); };
    EXPECT_EQ(label(1) + label(2) + label(3), u"L3L1L2"_s);
    EXPECT_EQ(label(4), u"4"_s); // a row without a label of its own shows its position
}

TEST(GridColours, StripesOfFiveAndHighlights)
{
    Grid grid;
    grid.setMaxCols(2);
    grid.setMaxRows(16);
    StripeRows(grid);
    const QColor stripe(246, 246, 246);
    for (int row = 1; row <= 16; ++row) {
        const bool shaded = (row >= 6 && row <= 10) || row >= 16;
        EXPECT_EQ(grid.cellColor(1, row), shaded ? stripe : QColor()) << row;
    }
    grid.setRowColor(2, QColor(192, 192, 192));
    EXPECT_EQ(grid.cellColor(2, 2), QColor(192, 192, 192));
    grid.setCellColor(1, 7, QColor(255, 0, 0));
    EXPECT_EQ(grid.cellColor(1, 7), QColor(255, 0, 0));
    EXPECT_EQ(grid.cellColor(2, 7), stripe);
    grid.setBlockColor(1, 3, QColor(1, 2, 3));
    EXPECT_EQ(grid.cellColor(2, 3), QColor(1, 2, 3));
    grid.clearColors();
    EXPECT_EQ(grid.cellColor(1, 7), QColor());
}

TEST(GridEvents, ClicksReportColumnAndRowWithTheHeaderAsRowZero)
{
    Grid grid;
    fill(grid, {u"a,1,x"_s, u"b,2,y"_s});
    grid.resize(400, 300);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QSignalSpy clicks(&grid, &Grid::cellClicked);
    QSignalSpy doubles(&grid, &Grid::cellDoubleClicked);

    QTableView* view = grid.view();
    const QRect cell = view->visualRect(grid.model()->index(1, 2));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks[0][0].toInt(), 3);
    EXPECT_EQ(clicks[0][1].toInt(), 2);

    QHeaderView* header = view->horizontalHeader();
    QTest::mouseClick(header->viewport(),
                      Qt::LeftButton,
                      {},
                      QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    ASSERT_EQ(clicks.size(), 2);
    EXPECT_EQ(clicks[1][0].toInt(), 2);
    EXPECT_EQ(clicks[1][1].toInt(), 0);
    EXPECT_EQ(grid.activeRow(), 2); // a header click leaves the current row alone

    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_GE(doubles.size(), 1);
    EXPECT_EQ(doubles.last()[1].toInt(), 2);
}

// What the screen shows and what the window acts on must be the same row: moving the current row from the
// keyboard selects it as a click does, once; a move made by the window itself does not.
TEST(GridEvents, TheKeyboardSelectsLikeAClick)
{
    Grid grid;
    fill(grid, {u"a,1,x"_s, u"b,2,y"_s, u"c,3,z"_s});
    grid.setSelectRows(true);
    grid.resize(400, 300);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QSignalSpy clicks(&grid, &Grid::cellClicked);
    grid.setActiveCell(1, 1);
    EXPECT_EQ(clicks.size(), 0);

    QTableView* view = grid.view();
    QTest::keyClick(view, Qt::Key_Down);
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks[0][1].toInt(), 2);
    EXPECT_EQ(grid.activeRow(), 2);

    // A click on another row reports it once; a click on the current row reports it again.
    const QPoint third = view->visualRect(grid.model()->index(2, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, third);
    ASSERT_EQ(clicks.size(), 2);
    EXPECT_EQ(clicks[1][1].toInt(), 3);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, third);
    EXPECT_EQ(clicks.size(), 3);
    QTest::keyClick(view, Qt::Key_Up);
    ASSERT_EQ(clicks.size(), 4);
    EXPECT_EQ(clicks[3][1].toInt(), 2);

    // A list whose click does something reports real clicks only.
    grid.setSelectionFollowsCursor(false);
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(clicks.size(), 4);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(grid.model()->index(0, 0)).center());
    ASSERT_EQ(clicks.size(), 5);
    EXPECT_EQ(clicks[4][1].toInt(), 1);
}

// A drag down the list moves the current row through every row it passes; only the row it ends on is
// shown (each would be shown in turn otherwise), once, when the button is let go.
TEST(GridEvents, ADragReportsTheRowItEndsOn)
{
    Grid grid;
    fill(grid, {u"a,1,x"_s, u"b,2,y"_s, u"c,3,z"_s, u"d,4,w"_s, u"e,5,v"_s});
    grid.setSelectRows(true);
    grid.resize(400, 300);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QTableView* view = grid.view();
    QWidget* area = view->viewport();
    const auto at = [&](int row) { return view->visualRect(grid.model()->index(row, 0)).center(); };
    const auto send = [&](QEvent::Type type, int row, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at(row), area->mapToGlobal(at(row)), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(area, &event);
    };
    grid.setActiveCell(1, 1);
    QSignalSpy clicks(&grid, &Grid::cellClicked);
    send(QEvent::MouseButtonPress, 1, Qt::LeftButton); // the press shows its row at once
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks[0][1].toInt(), 2);
    for (int row = 2; row <= 3; ++row)
        send(QEvent::MouseMove, row, Qt::LeftButton);
    EXPECT_EQ(grid.activeRow(), 4);
    EXPECT_EQ(clicks.size(), 1);
    send(QEvent::MouseButtonRelease, 3, Qt::NoButton);
    ASSERT_EQ(clicks.size(), 2);
    EXPECT_EQ(clicks[1][1].toInt(), 4);

    // Pressed on the current row and dragged: the same.
    send(QEvent::MouseButtonPress, 3, Qt::LeftButton);
    send(QEvent::MouseMove, 4, Qt::LeftButton);
    EXPECT_EQ(clicks.size(), 2);
    send(QEvent::MouseButtonRelease, 4, Qt::NoButton);
    ASSERT_EQ(clicks.size(), 3);
    EXPECT_EQ(clicks[2][1].toInt(), 5);
    // A drag that comes back to where it started reports nothing new.
    send(QEvent::MouseButtonPress, 4, Qt::LeftButton);
    send(QEvent::MouseMove, 2, Qt::LeftButton);
    send(QEvent::MouseMove, 4, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, 4, Qt::NoButton);
    EXPECT_EQ(clicks.size(), 4); // the click on the current row, as a click there always is
    EXPECT_EQ(clicks[3][1].toInt(), 5);
}

TEST(GridLarge, HoldsThirtyTwoThousandRows)
{
    Grid grid;
    grid.setMaxCols(8);
    grid.setMaxRows(32767);
    {
        Grid::Batch batch(grid);
        for (int row = 1; row <= 32767; ++row) {
            grid.setText(1, row, QString::number(32768 - row));
            grid.setText(2, row, u"01.02.03.04.05.06"_s);
        }
        StripeRows(grid);
    }
    grid.setColumnKind(1, Grid::ColumnKind::Number);
    grid.sortRows(1, 32767, {1, Qt::AscendingOrder});
    EXPECT_EQ(grid.text(1, 1), u"1"_s);
    EXPECT_EQ(grid.text(1, 32767), u"32767"_s);
    grid.resize(400, 300);
    grid.show();
    grid.setActiveCell(2, 32767);
    EXPECT_EQ(grid.activeRow(), 32767);
    EXPECT_EQ(grid.activeCol(), 2);
    // Made active, the last row is scrolled into view.
    const QRect last = grid.view()->visualRect(grid.model()->index(32766, 1));
    EXPECT_TRUE(grid.view()->viewport()->rect().intersects(last));
}
