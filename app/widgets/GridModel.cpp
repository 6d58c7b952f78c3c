#include "GridModel.h"

#include <QBrush>

#include <algorithm>
#include <limits>
#include <numeric>

using namespace Qt::StringLiterals;

GridModel::GridModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows; }

int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_columns.size()); }

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int column = index.column();
    const int row = index.row();
    const Kind k = m_columns[size_t(column)].kind;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return k == Kind::Check ? QVariant() : QVariant(cell(column, row));
    case Qt::CheckStateRole:
        if (k != Kind::Check)
            return {};
        return cell(column, row) == u"1"_s ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
        if (k == Kind::Number)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        if (k == Kind::Check)
            return QVariant::fromValue(Qt::AlignCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::BackgroundRole: {
        const auto found = m_cellBackground.constFind(key(column, row));
        if (found != m_cellBackground.constEnd())
            return QBrush(*found);
        const QColor& color = m_rowBackground[size_t(row)];
        return color.isValid() ? QVariant(QBrush(color)) : QVariant();
    }
    default:
        return {};
    }
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid())
        return false;
    if (role == Qt::CheckStateRole) {
        setCell(index.column(), index.row(), value.toInt() == Qt::Checked ? u"1"_s : u"0"_s);
        return true;
    }
    if (role == Qt::EditRole) {
        setCell(index.column(), index.row(), value.toString());
        return true;
    }
    return false;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Vertical)
        return section < m_rowLabels.size() && !m_rowLabels[section].isNull() ? QVariant(m_rowLabels[section])
                                                                              : QVariant(section + 1);
    return section >= 0 && size_t(section) < m_columns.size() ? QVariant(m_columns[size_t(section)].header)
                                                              : QVariant();
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (!index.isValid())
        return f;
    const Column& c = m_columns[size_t(index.column())];
    if (c.editable)
        f |= c.kind == Kind::Check ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable;
    return f;
}

void GridModel::resize(int rows, int columns)
{
    rows = std::max(rows, 0);
    columns = std::max(columns, 0);
    if (rows == m_rows && size_t(columns) == m_columns.size())
        return;
    beginResetModel();
    if (size_t(columns) != m_columns.size()) {
        std::vector<QString> cells(size_t(m_rows) * size_t(columns));
        const size_t keep = std::min(size_t(columns), m_columns.size());
        for (int r = 0; r < m_rows; ++r) {
            for (size_t c = 0; c < keep; ++c)
                cells[size_t(r) * size_t(columns) + c] = std::move(at(int(c), r));
        }
        m_cells = std::move(cells);
        m_columns.resize(size_t(columns));
    }
    m_cells.resize(size_t(rows) * m_columns.size());
    m_rowBackground.resize(size_t(rows));
    if (rows < m_rows) {
        for (auto it = m_cellBackground.begin(); it != m_cellBackground.end();) {
            if (int(it.key() >> 32) >= rows)
                it = m_cellBackground.erase(it);
            else
                ++it;
        }
    }
    m_rows = rows;
    endResetModel();
}

const QString& GridModel::cell(int column, int row) const
{
    return m_cells[size_t(row) * m_columns.size() + size_t(column)];
}

void GridModel::setCell(int column, int row, const QString& text)
{
    at(column, row) = text;
    cellChanged(column, row);
}

QString GridModel::header(int column) const { return m_columns[size_t(column)].header; }

void GridModel::setHeader(int column, const QString& text)
{
    m_columns[size_t(column)].header = text;
    if (m_batch == 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
    else
        m_batchDirty = true;
}

void GridModel::setRowLabels(const QStringList& labels)
{
    m_rowLabels = labels;
    if (m_rows > 0)
        Q_EMIT headerDataChanged(Qt::Vertical, 0, m_rows - 1);
}

GridModel::Kind GridModel::kind(int column) const { return m_columns[size_t(column)].kind; }

void GridModel::setKind(int column, Kind kind) { m_columns[size_t(column)].kind = kind; }

void GridModel::setEditable(int column, bool editable) { m_columns[size_t(column)].editable = editable; }

void GridModel::setBackground(int column, int row, const QColor& color)
{
    if (column < 0) {
        m_rowBackground[size_t(row)] = color;
        // A row colour covers the cells of that row that had one of their own.
        for (int c = 0; c < int(m_columns.size()); ++c)
            m_cellBackground.remove(key(c, row));
        if (m_batch == 0)
            Q_EMIT dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1), {Qt::BackgroundRole});
        else
            m_batchDirty = true;
        return;
    }
    m_cellBackground.insert(key(column, row), color);
    if (m_batch == 0)
        Q_EMIT dataChanged(index(row, column), index(row, column), {Qt::BackgroundRole});
    else
        m_batchDirty = true;
}

void GridModel::clearBackgrounds()
{
    std::fill(m_rowBackground.begin(), m_rowBackground.end(), QColor());
    m_cellBackground.clear();
    if (m_rows > 0 && !m_columns.empty())
        Q_EMIT dataChanged(index(0, 0), index(m_rows - 1, int(m_columns.size()) - 1), {Qt::BackgroundRole});
}

void GridModel::sortRows(int firstRow, int lastRow, const std::vector<SortKey>& keys)
{
    firstRow = std::max(firstRow, 0);
    lastRow = std::min(lastRow, m_rows - 1);
    if (lastRow <= firstRow || keys.empty())
        return;
    auto compare = [this](int column, const QString& a, const QString& b) {
        if (m_columns[size_t(column)].kind == Kind::Number) {
            const double x = a.isEmpty() ? -std::numeric_limits<double>::infinity() : a.toDouble();
            const double y = b.isEmpty() ? -std::numeric_limits<double>::infinity() : b.toDouble();
            return x < y ? -1 : (x > y ? 1 : 0);
        }
        return a.compare(b);
    };
    std::vector<int> order(size_t(lastRow - firstRow + 1));
    std::iota(order.begin(), order.end(), firstRow);
    std::stable_sort(order.begin(), order.end(), [&](int r1, int r2) {
        for (const SortKey& k : keys) {
            int c = compare(k.column, cell(k.column, r1), cell(k.column, r2));
            if (k.order == Qt::DescendingOrder)
                c = -c;
            if (c != 0)
                return c < 0;
        }
        return false;
    });
    const size_t width = m_columns.size();
    std::vector<QString> sorted(order.size() * width);
    for (size_t i = 0; i < order.size(); ++i) {
        for (size_t c = 0; c < width; ++c)
            sorted[i * width + c] = std::move(at(int(c), order[i]));
    }
    std::move(sorted.begin(), sorted.end(), m_cells.begin() + ptrdiff_t(size_t(firstRow) * width));
    moveRowDecorations(firstRow, order);
    if (m_batch == 0) {
        Q_EMIT dataChanged(index(firstRow, 0), index(lastRow, int(width) - 1));
        Q_EMIT headerDataChanged(Qt::Vertical, firstRow, lastRow);
    } else {
        m_batchDirty = true;
    }
}

// A row's colours and its label belong to its record: a highlighted game stays highlighted wherever the sort
// puts it.
void GridModel::moveRowDecorations(int firstRow, const std::vector<int>& order)
{
    const int lastRow = firstRow + int(order.size()) - 1;
    std::vector<QColor> rowColors(order.size());
    for (size_t i = 0; i < order.size(); ++i)
        rowColors[i] = m_rowBackground[size_t(order[i])];
    std::move(rowColors.begin(), rowColors.end(), m_rowBackground.begin() + firstRow);

    if (!m_cellBackground.isEmpty()) {
        std::vector<int> target(order.size());
        for (size_t i = 0; i < order.size(); ++i)
            target[size_t(order[i] - firstRow)] = firstRow + int(i);
        QHash<quint64, QColor> moved;
        for (auto it = m_cellBackground.cbegin(); it != m_cellBackground.cend(); ++it) {
            const int row = int(it.key() >> 32);
            const int column = int(quint32(it.key()));
            const bool inBlock = row >= firstRow && row <= lastRow;
            moved.insert(key(column, inBlock ? target[size_t(row - firstRow)] : row), it.value());
        }
        m_cellBackground = std::move(moved);
    }

    if (m_rowLabels.size() > firstRow) {
        // Rows past the end of the labels have none: they show their position wherever they go.
        while (m_rowLabels.size() <= lastRow)
            m_rowLabels.append(QString());
        QStringList labels;
        for (int row : order)
            labels.append(m_rowLabels[row]);
        for (qsizetype i = 0; i < labels.size(); ++i)
            m_rowLabels[firstRow + i] = labels[i];
    }
}

void GridModel::beginBatch() { ++m_batch; }

void GridModel::endBatch()
{
    if (m_batch == 0 || --m_batch > 0 || !m_batchDirty)
        return;
    m_batchDirty = false;
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, std::max(int(m_columns.size()) - 1, 0));
    if (m_rows > 0)
        Q_EMIT headerDataChanged(Qt::Vertical, 0, m_rows - 1);
    if (m_rows > 0 && !m_columns.empty())
        Q_EMIT dataChanged(index(0, 0), index(m_rows - 1, int(m_columns.size()) - 1));
}

void GridModel::cellChanged(int column, int row)
{
    if (m_batch == 0)
        Q_EMIT dataChanged(index(row, column), index(row, column));
    else
        m_batchDirty = true;
}
