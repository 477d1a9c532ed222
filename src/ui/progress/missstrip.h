#pragma once

#include "ui/progress/columnmisses.h"

#include <QWidget>

namespace vk {

// The product's columns in a row, the units at the right as on the sheet,
// each shaded by how often its digit was wrong, with the weakest stretch
// outlined and the scale of the shades beside them. Hovering a column tells
// its count and share.
class MissStrip : public QWidget
{
    Q_OBJECT

public:
    explicit MissStrip(const ColumnMisses &misses, QWidget *parent = nullptr);

    // Where `column` (1 = units) is drawn, and which column is at `point`
    // (0 for none).
    QRect cellRect(int column) const;
    int columnAt(const QPoint &point) const;

    // The shade of a column wrong in `share` (0 to 1) of the stages.
    static QColor shadeOf(double share);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int cellsRight() const;
    int cellWidth() const;
    QRect scaleRect() const;
    void paintScale(QPainter &painter) const;

    ColumnMisses m_misses;
};

} // namespace vk
