#pragma once

#include "GridModel.h"

#include <QColor>
#include <QPersistentModelIndex>
#include <QWidget>

#include <optional>

class QTableView;

// The one list control of the program. Cells are addressed (column, row), both from 1; row 0 is the
// header row and column 0 the row-number column. The windows keep their rows' data in the cells and
// read it back from there.
class Grid : public QWidget
{
    Q_OBJECT
public:
    using ColumnKind = GridModel::Kind;

    explicit Grid(QWidget* parent = nullptr);

    int maxRows() const;
    // 0 empties the grid; a larger count adds empty rows at the end.
    void setMaxRows(int rows);
    int maxCols() const;
    void setMaxCols(int columns);

    // Row 0 reads and writes the column headers. Cells outside the grid read as empty and ignore writes.
    QString text(int column, int row) const;
    void setText(int column, int row, const QString& text);
    void setNumber(int column, int row, double value);
    // A check-box cell holds "1" when ticked and "0" otherwise.
    bool isChecked(int column, int row) const;
    void setHeaders(const QStringList& headers);
    // Replaces every row: one list of cell texts per row, from column 1.
    void setRows(const QList<QStringList>& rows);
    // What the row-number column shows, row by row (a running number across pages, say).
    void setRowNumbers(const QStringList& numbers);

    void setColumnKind(int column, ColumnKind kind);
    void setColumnEditable(int column, bool editable);
    void setColumnWidth(int column, int pixels);
    // This column takes the width the others leave.
    void setStretchColumn(int column);
    // A hidden column keeps its values.
    void setColumnHidden(int column, bool hidden);
    bool isColumnHidden(int column) const;

    // The current cell; making it active scrolls the grid to it. The window's own move is not reported;
    // one made by the user from the keyboard or the mouse is reported as cellClicked.
    void setActiveCell(int column, int row);
    int activeRow() const;
    int activeCol() const;
    void selectBlock(int column1, int row1, int column2, int row2);
    void setSelectRows(bool wholeRows);
    // On (the default) for lists of records to look at: the row the user moves to is shown at once.
    // Off for lists where a click does something, such as opening a link: only real clicks count there.
    void setSelectionFollowsCursor(bool follows) { m_followsCursor = follows; }

    void setCellColor(int column, int row, const QColor& color);
    void setRowColor(int row, const QColor& color);
    void setBlockColor(int row1, int row2, const QColor& color);
    void clearColors();
    QColor cellColor(int column, int row) const;

    struct SortKey
    {
        int column;
        Qt::SortOrder order = Qt::AscendingOrder;
    };
    // Sorts rows row1..row2 by one or two keys. Rows move with all their cells, colours and row labels; the
    // order of rows equal on both keys stays as it was.
    void sortRows(int row1, int row2, SortKey first, std::optional<SortKey> second = std::nullopt);

    // Fills many cells without redrawing after each one.
    class Batch
    {
    public:
        explicit Batch(Grid& grid);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        Grid& m_grid;
    };

    QTableView* view() const { return m_view; }
    GridModel* model() const { return m_model; }

Q_SIGNALS:
    // Row 0 is the header, column 0 the row-number column. Also sent when the user moves the current row.
    void cellClicked(int column, int row);
    void cellDoubleClicked(int column, int row);
    void cellEdited(int column, int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool inside(int column, int row) const;

    GridModel* m_model;
    QTableView* m_view;
    bool m_quiet = false;
    bool m_followsCursor = true;
    // 0-based row already reported by the press in progress; kPressedInPlace for a press that left the
    // current row where it was.
    int m_reportedRow = -1;
    static constexpr int kPressedInPlace = -2;
    bool m_buttonDown = false; // a press of the mouse in the grid, not yet released
    QPersistentModelIndex m_draggedTo; // where a drag with that press has moved the current row
};

// Blocks of five rows shaded alternately: 1–5 plain, 6–10 RGB(246,246,246), 11–15 plain, …
void StripeRows(Grid& grid);
