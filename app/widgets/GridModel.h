#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QStringList>

#include <vector>

// The cells behind a Grid. Rows and columns here are 0-based; Grid turns them into the 1-based cells
// the windows speak of, with row 0 for the header.
class GridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum class Kind { Text, Number, Check };

    explicit GridModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void resize(int rows, int columns);
    const QString& cell(int column, int row) const;
    void setCell(int column, int row, const QString& text);
    QString header(int column) const;
    void setHeader(int column, const QString& text);
    // Texts for the row-number column; rows without one (or with a null text) show their position.
    void setRowLabels(const QStringList& labels);

    Kind kind(int column) const;
    void setKind(int column, Kind kind);
    void setEditable(int column, bool editable);

    void setBackground(int column, int row, const QColor& color); // column -1: the whole row
    void clearBackgrounds();

    struct SortKey
    {
        int column;
        Qt::SortOrder order;
    };
    // Stable: rows equal on every key keep their order. Rows move with their colours and labels.
    void sortRows(int firstRow, int lastRow, const std::vector<SortKey>& keys);

    // Between begin and end, changes do not notify the view one by one; the end refreshes it once.
    void beginBatch();
    void endBatch();

private:
    struct Column
    {
        QString header;
        Kind kind = Kind::Text;
        bool editable = false;
    };
    QString& at(int column, int row) { return m_cells[size_t(row) * size_t(m_columns.size()) + size_t(column)]; }
    void cellChanged(int column, int row);
    // order[i] is the row that comes to firstRow + i.
    void moveRowDecorations(int firstRow, const std::vector<int>& order);
    static quint64 key(int column, int row) { return (quint64(quint32(row)) << 32) | quint32(column); }

    std::vector<QString> m_cells; // row by row
    QStringList m_rowLabels;
    std::vector<Column> m_columns;
    int m_rows = 0;
    std::vector<QColor> m_rowBackground;
    QHash<quint64, QColor> m_cellBackground;
    int m_batch = 0;
    bool m_batchDirty = false;
};
