#include "grid/gridmodel.h"

#include <algorithm>

namespace vk::detail {

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    return cell(index.row(), index.column()).text;
}

void GridModel::resize(int rows, int cols)
{
    rows = std::max(0, rows);
    cols = std::max(0, cols);
    if (rows == m_rows && cols == m_cols)
        return;
    beginResetModel();
    std::vector<Cell> cells(static_cast<std::size_t>(rows) * cols);
    for (int r = 0; r < std::min(rows, m_rows); ++r)
        for (int c = 0; c < std::min(cols, m_cols); ++c)
            cells[static_cast<std::size_t>(r) * cols + c] = std::move(cell(r, c));
    m_cells = std::move(cells);
    m_rows = rows;
    m_cols = cols;
    endResetModel();
}

} // namespace vk::detail
