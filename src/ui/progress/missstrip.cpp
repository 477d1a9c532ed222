#include "ui/progress/missstrip.h"

#include <QHelpEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <array>
#include <cmath>

namespace vk {

namespace {

constexpr int kCellHeight = 26;
constexpr int kWidestCell = 32;
constexpr int kScaleWidth = 170;
constexpr int kScaleGap = 32;
constexpr int kScaleBarHeight = 12;

struct ShadeStop {
    double share;
    QColor colour;
};

// From almost white for a column never wrong to a deep red for one always
// wrong, evenly brighter to darker, so that the shades order at a glance.
// The shades change fastest among the low shares, where a learner's columns
// mostly are, and the scale beside the strip shows them as they are used.
const std::array<ShadeStop, 5> kShades{{{0.0, QColor(0xff, 0xf5, 0xf0)},
                                        {0.1, QColor(0xfd, 0xd0, 0xbc)},
                                        {0.25, QColor(0xfc, 0x92, 0x72)},
                                        {0.5, QColor(0xde, 0x2d, 0x26)},
                                        {1.0, QColor(0x67, 0x00, 0x0d)}}};

const QColor kCellBorder(0xc8, 0xc8, 0xc8);
const QColor kStretchOutline(0x20, 0x20, 0x20);

int mix(int from, int to, double part)
{
    return static_cast<int>(std::nearbyint(from + (to - from) * part));
}

// Which columns carry their number below: the units and every fifth, or
// every one where there are few.
bool numbered(int column, int columns)
{
    return columns <= 12 || column == 1 || column % 5 == 0;
}

} // namespace

MissStrip::MissStrip(const ColumnMisses &misses, QWidget *parent)
    : QWidget(parent)
    , m_misses(misses)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QColor MissStrip::shadeOf(double share)
{
    share = std::clamp(share, 0.0, 1.0);
    for (std::size_t i = 1; i < kShades.size(); ++i) {
        if (share <= kShades[i].share) {
            const ShadeStop &low = kShades[i - 1];
            const ShadeStop &high = kShades[i];
            const double part = (share - low.share) / (high.share - low.share);
            return QColor(mix(low.colour.red(), high.colour.red(), part),
                          mix(low.colour.green(), high.colour.green(), part),
                          mix(low.colour.blue(), high.colour.blue(), part));
        }
    }
    return kShades.back().colour;
}

QSize MissStrip::sizeHint() const
{
    return minimumSizeHint() + QSize(m_misses.columns() * (kWidestCell - 10), 0);
}

QSize MissStrip::minimumSizeHint() const
{
    const QMargins margins = contentsMargins();
    return {m_misses.columns() * 10 + kScaleGap + kScaleWidth + margins.left() + margins.right(),
            kCellHeight + fontMetrics().height() + 4 + margins.top() + margins.bottom()};
}

int MissStrip::cellsRight() const
{
    return contentsRect().right() + 1 - kScaleWidth - kScaleGap;
}

int MissStrip::cellWidth() const
{
    const int room = cellsRight() - contentsRect().left();
    return std::clamp(room / std::max(1, m_misses.columns()), 1, kWidestCell);
}

QRect MissStrip::cellRect(int column) const
{
    // The cells stand right before the scale, so that the units column is
    // always in the same place, whatever the length.
    const int w = cellWidth();
    return {cellsRight() - column * w, contentsRect().top() + 1, w, kCellHeight};
}

int MissStrip::columnAt(const QPoint &point) const
{
    for (int column = 1; column <= m_misses.columns(); ++column) {
        if (cellRect(column).contains(point))
            return column;
    }
    return 0;
}

QRect MissStrip::scaleRect() const
{
    // Room at both ends for the shares written under them.
    const QRect area = contentsRect();
    return {area.right() + 1 - kScaleWidth + 20, area.top() + 1 + (kCellHeight - kScaleBarHeight) / 2,
            kScaleWidth - 40, kScaleBarHeight};
}

bool MissStrip::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    auto *help = static_cast<QHelpEvent *>(event);
    const int column = columnAt(help->pos());
    if (column == 0) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), m_misses.columnDescription(column), this, cellRect(column));
    }
    return true;
}

void MissStrip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int columns = m_misses.columns();
    const QFontMetrics metrics = fontMetrics();
    for (int column = 1; column <= columns; ++column) {
        const QRect cell = cellRect(column);
        painter.fillRect(cell, shadeOf(m_misses.missShare(column)));
        painter.setPen(kCellBorder);
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        if (numbered(column, columns)) {
            painter.setPen(palette().color(QPalette::WindowText));
            const QRect below(cell.left() - 10, cell.bottom() + 2, cell.width() + 20, metrics.height());
            painter.drawText(below, Qt::AlignHCenter | Qt::AlignTop, QString::number(column));
        }
    }
    if (const std::optional<ColumnStretch> stretch = m_misses.weakestStretch()) {
        const QRect outline = cellRect(stretch->last).united(cellRect(stretch->first));
        painter.setPen(QPen(kStretchOutline, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(outline).adjusted(0, 0, -1, -1));
    }
    paintScale(painter);
}

// The shades from never wrong to always wrong, with their shares below as
// the columns carry their numbers.
void MissStrip::paintScale(QPainter &painter) const
{
    const QRect bar = scaleRect();
    QLinearGradient gradient(bar.topLeft(), bar.topRight());
    for (const ShadeStop &stop : kShades)
        gradient.setColorAt(stop.share, stop.colour);
    painter.fillRect(bar, gradient);
    painter.setPen(kCellBorder);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(bar.adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::WindowText));
    const int height = fontMetrics().height();
    for (const int percent : {0, 50, 100}) {
        const int x = bar.left() + bar.width() * percent / 100;
        painter.drawText(QRect(x - 30, contentsRect().top() + kCellHeight + 3, 60, height), Qt::AlignHCenter | Qt::AlignTop,
                         QStringLiteral("%1 %").arg(percent));
    }
}

} // namespace vk
