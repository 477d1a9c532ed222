#pragma once

#include "platform/colorref.h"

#include <QAbstractTableModel>
#include <QString>

#include <optional>
#include <vector>

namespace vk::detail {

// One side of a cell's border; width 0 draws nothing.
struct Edge {
    int width = 0;
    ColorRef color = 0;
};

struct Cell {
    QString text;
    // Empty: the grid's own background.
    std::optional<ColorRef> back;
    Edge left, top, right, bottom;
};

// The cells of a FlexGrid, row by row. Qt's view asks only for the text;
// the grid and its delegate work on the cells themselves.
class GridModel final : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_rows; }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_cols; }
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &) const override { return Qt::ItemIsEnabled; }

    // Cells inside both the old and the new size keep what they hold.
    void resize(int rows, int cols);

    Cell &cell(int r, int c) { return m_cells[static_cast<std::size_t>(r) * m_cols + c]; }
    const Cell &cell(int r, int c) const { return m_cells[static_cast<std::size_t>(r) * m_cols + c]; }
    // Repaints the block from (firstRow, firstCol) to (lastRow, lastCol).
    void changed(int firstRow, int firstCol, int lastRow, int lastCol)
    {
        emit dataChanged(index(firstRow, firstCol), index(lastRow, lastCol));
    }

private:
    int m_rows = 0;
    int m_cols = 0;
    std::vector<Cell> m_cells;
};

} // namespace vk::detail
