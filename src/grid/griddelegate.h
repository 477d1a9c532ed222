#pragma once

#include <QStyledItemDelegate>

namespace vk {

class FlexGrid;

namespace detail {

class GridModel;

// Draws each cell entirely: background, text, borders. No focus frame and
// no selection colour, so the owner's background colours are what the user
// sees.
class GridDelegate final : public QStyledItemDelegate
{
public:
    GridDelegate(FlexGrid *grid, GridModel *model);

    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    FlexGrid *m_grid;
    GridModel *m_model;
};

} // namespace detail
} // namespace vk
