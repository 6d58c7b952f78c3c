#include "Grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include <utility>

namespace {

// Check-box cells show their box in the middle of the cell, and a click anywhere in the cell ticks it.
class CenteredCheckDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QVariant state = index.data(Qt::CheckStateRole);
        if (!state.isValid()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem background = option;
        initStyleOption(&background, index);
        background.features &= ~QStyleOptionViewItem::HasCheckIndicator;
        QStyle* style = option.widget ? option.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &background, painter, option.widget);

        QStyleOptionButton box;
        box.rect = checkRect(option);
        box.state = QStyle::State_Enabled | (state.toInt() == Qt::Checked ? QStyle::State_On : QStyle::State_Off);
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, option.widget);
    }

    bool editorEvent(QEvent* event,
                     QAbstractItemModel* model,
                     const QStyleOptionViewItem& option,
                     const QModelIndex& index) override
    {
        if (!index.data(Qt::CheckStateRole).isValid() || !(index.flags() & Qt::ItemIsUserCheckable))
            return QStyledItemDelegate::editorEvent(event, model, option, index);
        if (event->type() == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
            return model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
        }
        return event->type() == QEvent::MouseButtonDblClick;
    }

private:
    static QRect checkRect(const QStyleOptionViewItem& option)
    {
        QStyle* style = option.widget ? option.widget->style() : QApplication::style();
        QStyleOptionButton probe;
        const QRect indicator = style->subElementRect(QStyle::SE_CheckBoxIndicator, &probe, option.widget);
        QRect rect(QPoint(0, 0), indicator.size());
        rect.moveCenter(option.rect.center());
        return rect;
    }
};

} // namespace

Grid::Grid(QWidget* parent)
    : QWidget(parent)
    , m_model(new GridModel(this))
    , m_view(new QTableView(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_view->setModel(m_model);
    m_view->setItemDelegate(new CenteredCheckDelegate(m_view));
    m_view->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    m_view->setWordWrap(false);
    m_view->horizontalHeader()->setHighlightSections(false);
    m_view->horizontalHeader()->setSectionsClickable(true);
    // Fixed row heights: the view never measures 32,767 rows one by one.
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    m_view->verticalHeader()->setSectionsClickable(true);

    // The row the window shows is the row the user is on: a current row moved by the keyboard (or by a
    // press or a drag of the mouse) is reported as a click on it. The release that ends that press is not
    // reported a second time. A drag reports only the row it ends on, at the release: each row it passes
    // would otherwise be shown in turn (a draw of a million games each, in the safe).
    m_view->viewport()->installEventFilter(this);
    m_view->verticalHeader()->viewport()->installEventFilter(this);
    connect(m_view->selectionModel(),
            &QItemSelectionModel::currentRowChanged,
            this,
            [this](const QModelIndex& current, const QModelIndex&) {
                if (m_quiet || !m_followsCursor || !current.isValid())
                    return;
                if (m_buttonDown && m_reportedRow != -1) {
                    m_draggedTo = current; // a drag after the press: reported at the release
                    return;
                }
                m_reportedRow = current.row();
                Q_EMIT cellClicked(current.column() + 1, current.row() + 1);
            });
    connect(m_view, &QTableView::pressed, this, [this](const QModelIndex&) {
        if (m_reportedRow == -1)
            m_reportedRow = kPressedInPlace;
    });
    connect(m_view, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (std::exchange(m_reportedRow, -1) != index.row())
            Q_EMIT cellClicked(index.column() + 1, index.row() + 1);
    });
    // A column header is a button of the window (it ticks every box, say); it never moves the current row.
    disconnect(m_view->horizontalHeader(), &QHeaderView::sectionPressed, m_view, nullptr);
    disconnect(m_view->horizontalHeader(), &QHeaderView::sectionEntered, m_view, nullptr);
    connect(m_view, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        Q_EMIT cellDoubleClicked(index.column() + 1, index.row() + 1);
    });
    connect(m_view->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        Q_EMIT cellClicked(section + 1, 0);
    });
    connect(m_view->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this, [this](int section) {
        Q_EMIT cellDoubleClicked(section + 1, 0);
    });
    connect(m_view->verticalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        if (std::exchange(m_reportedRow, -1) != section)
            Q_EMIT cellClicked(0, section + 1);
    });
    connect(m_model,
            &GridModel::dataChanged,
            this,
            [this](const QModelIndex& from, const QModelIndex& to, const QList<int>& roles) {
                // Only a single cell changed by the user counts as an edit; fills come as ranges or batches.
                if (from == to
                    && (roles.isEmpty() || roles.contains(Qt::EditRole) || roles.contains(Qt::CheckStateRole))
                    && m_view->hasFocus())
                    Q_EMIT cellEdited(from.column() + 1, from.row() + 1);
            });
}

bool Grid::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        m_reportedRow = -1; // a new press: its release is a click of its own
        m_buttonDown = true;
        m_draggedTo = QModelIndex();
    } else if (event->type() == QEvent::MouseButtonRelease && m_buttonDown) {
        m_buttonDown = false;
        const QPersistentModelIndex to = std::exchange(m_draggedTo, QPersistentModelIndex());
        if (to.isValid() && to.row() != m_reportedRow && to == m_view->currentIndex()) {
            m_reportedRow = to.row();
            Q_EMIT cellClicked(to.column() + 1, to.row() + 1);
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool Grid::inside(int column, int row) const
{
    return column >= 1 && column <= maxCols() && row >= 1 && row <= maxRows();
}

int Grid::maxRows() const { return m_model->rowCount(); }

void Grid::setMaxRows(int rows) { m_model->resize(rows, maxCols()); }

int Grid::maxCols() const { return m_model->columnCount(); }

void Grid::setMaxCols(int columns) { m_model->resize(maxRows(), columns); }

QString Grid::text(int column, int row) const
{
    if (row == 0)
        return column >= 1 && column <= maxCols() ? m_model->header(column - 1) : QString();
    return inside(column, row) ? m_model->cell(column - 1, row - 1) : QString();
}

void Grid::setText(int column, int row, const QString& text)
{
    if (row == 0 && column >= 1 && column <= maxCols())
        m_model->setHeader(column - 1, text);
    else if (inside(column, row))
        m_model->setCell(column - 1, row - 1, text);
}

void Grid::setNumber(int column, int row, double value) { setText(column, row, QString::number(value, 'g', 17)); }

bool Grid::isChecked(int column, int row) const { return text(column, row) == QStringLiteral("1"); }

void Grid::setHeaders(const QStringList& headers)
{
    if (maxCols() < headers.size())
        setMaxCols(int(headers.size()));
    for (qsizetype i = 0; i < headers.size(); ++i)
        setText(int(i) + 1, 0, headers[i]);
}

void Grid::setRows(const QList<QStringList>& rows)
{
    Batch batch(*this);
    setMaxRows(0);
    setMaxRows(int(rows.size()));
    for (qsizetype r = 0; r < rows.size(); ++r) {
        for (qsizetype c = 0; c < rows[r].size(); ++c)
            setText(int(c) + 1, int(r) + 1, rows[r][c]);
    }
}

void Grid::setRowNumbers(const QStringList& numbers) { m_model->setRowLabels(numbers); }

void Grid::setColumnKind(int column, ColumnKind kind)
{
    if (column >= 1 && column <= maxCols())
        m_model->setKind(column - 1, kind);
}

void Grid::setColumnEditable(int column, bool editable)
{
    if (column >= 1 && column <= maxCols())
        m_model->setEditable(column - 1, editable);
}

void Grid::setColumnWidth(int column, int pixels)
{
    if (column == 0)
        m_view->verticalHeader()->setFixedWidth(pixels);
    else
        m_view->setColumnWidth(column - 1, pixels);
}

void Grid::setStretchColumn(int column)
{
    if (column >= 1 && column <= maxCols())
        m_view->horizontalHeader()->setSectionResizeMode(column - 1, QHeaderView::Stretch);
}

void Grid::setColumnHidden(int column, bool hidden)
{
    if (column == 0)
        m_view->verticalHeader()->setVisible(!hidden);
    else
        m_view->setColumnHidden(column - 1, hidden);
}

bool Grid::isColumnHidden(int column) const
{
    return column == 0 ? !m_view->verticalHeader()->isVisible() : m_view->isColumnHidden(column - 1);
}

void Grid::setActiveCell(int column, int row)
{
    if (!inside(column, row))
        return;
    const QModelIndex index = m_model->index(row - 1, column - 1);
    // The window moves the row itself and runs what goes with it; it is not told of its own move.
    const QScopedValueRollback quiet(m_quiet, true);
    m_view->setCurrentIndex(index);
    m_view->scrollTo(index);
}

int Grid::activeRow() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

int Grid::activeCol() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? current.column() + 1 : 0;
}

void Grid::selectBlock(int column1, int row1, int column2, int row2)
{
    column1 = qBound(1, column1, maxCols());
    column2 = qBound(1, column2, maxCols());
    row1 = qBound(1, row1, maxRows());
    row2 = qBound(1, row2, maxRows());
    if (maxRows() == 0 || maxCols() == 0)
        return;
    const QItemSelection block(m_model->index(row1 - 1, column1 - 1), m_model->index(row2 - 1, column2 - 1));
    m_view->selectionModel()->select(block, QItemSelectionModel::ClearAndSelect);
}

void Grid::setSelectRows(bool wholeRows)
{
    m_view->setSelectionBehavior(wholeRows ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

void Grid::setCellColor(int column, int row, const QColor& color)
{
    if (inside(column, row))
        m_model->setBackground(column - 1, row - 1, color);
}

void Grid::setRowColor(int row, const QColor& color)
{
    if (row >= 1 && row <= maxRows())
        m_model->setBackground(-1, row - 1, color);
}

void Grid::setBlockColor(int row1, int row2, const QColor& color)
{
    Batch batch(*this);
    for (int row = std::max(row1, 1); row <= std::min(row2, maxRows()); ++row)
        m_model->setBackground(-1, row - 1, color);
}

void Grid::clearColors() { m_model->clearBackgrounds(); }

QColor Grid::cellColor(int column, int row) const
{
    if (!inside(column, row))
        return QColor();
    const QVariant brush = m_model->data(m_model->index(row - 1, column - 1), Qt::BackgroundRole);
    return brush.isValid() ? brush.value<QBrush>().color() : QColor();
}

void Grid::sortRows(int row1, int row2, SortKey first, std::optional<SortKey> second)
{
    std::vector<GridModel::SortKey> keys;
    for (const std::optional<SortKey>& key : {std::optional<SortKey>(first), second}) {
        if (key && key->column >= 1 && key->column <= maxCols())
            keys.push_back({key->column - 1, key->order});
    }
    m_model->sortRows(row1 - 1, row2 - 1, keys);
}

Grid::Batch::Batch(Grid& grid)
    : m_grid(grid)
{
    m_grid.m_model->beginBatch();
}

Grid::Batch::~Batch() { m_grid.m_model->endBatch(); }

void StripeRows(Grid& grid)
{
    static const QColor stripe(246, 246, 246);
    Grid::Batch batch(grid);
    for (int row = 1; row <= grid.maxRows(); ++row)
        grid.setRowColor(row, ((row - 1) / 5) % 2 == 1 ? stripe : QColor());
}
