#include "grid/griddelegate.h"

#include "grid/cellstyle.h"
#include "grid/flexgrid.h"
#include "grid/gridmodel.h"

#include <QPainter>

namespace vk::detail {

GridDelegate::GridDelegate(FlexGrid *grid, GridModel *model)
    : QStyledItemDelegate(grid)
    , m_grid(grid)
    , m_model(model)
{
}

void GridDelegate::paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const Cell &cell = m_model->cell(index.row(), index.column());
    const QRect r = option.rect;
    p->fillRect(r, toQColor(cell.back.value_or(m_grid->backgroundColour())));
    if (!cell.text.isEmpty()) {
        p->setFont(m_grid->cellFont());
        p->setPen(Qt::black);
        p->drawText(r, toQtAlignment(m_grid->colAlignment(index.column())) | Qt::TextSingleLine, cell.text);
    }
    if (cell.left.width > 0)
        p->fillRect(QRect(r.left(), r.top(), cell.left.width, r.height()), toQColor(cell.left.color));
    if (cell.top.width > 0)
        p->fillRect(QRect(r.left(), r.top(), r.width(), cell.top.width), toQColor(cell.top.color));
    if (cell.right.width > 0)
        p->fillRect(QRect(r.right() + 1 - cell.right.width, r.top(), cell.right.width, r.height()),
                    toQColor(cell.right.color));
    if (cell.bottom.width > 0)
        p->fillRect(QRect(r.left(), r.bottom() + 1 - cell.bottom.width, r.width(), cell.bottom.width),
                    toQColor(cell.bottom.color));
}

} // namespace vk::detail
