#include "pictures.h"

#include "painting.h"
#include "skin/palette.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>

namespace vk::skingen {

QImage paintCorrect()
{
    const QSize size(150, 150);
    QImage img = newImage(size.width(), size.height(), palette::kPictureGround);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath tick;
    tick.moveTo(30, 80);
    tick.lineTo(61, 112);
    tick.lineTo(122, 38);
    const QPainterPath body = strokeOutline(tick, 24.0);
    const QPainterPath edge = strokeOutline(tick, 29.0);
    paintShadow(p, size, edge, QPointF(4.0, 6.0), 4, QColor(30, 45, 70, 110));
    p.setPen(Qt::NoPen);
    p.fillPath(edge, Qt::white);
    QLinearGradient fill(0, 30, 0, 125);
    fill.setColorAt(0.0, QColor(124, 214, 92));
    fill.setColorAt(0.55, QColor(52, 162, 52));
    fill.setColorAt(1.0, QColor(22, 112, 36));
    p.fillPath(body, fill);
    // A narrow highlight along the upper side of both strokes.
    p.save();
    p.setClipPath(body);
    p.setPen(QPen(QColor(255, 255, 255, 70), 7.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick.translated(-2.5, -5.5));
    p.restore();
    return img;
}

namespace {

// One brush stroke along a gentle curve: swelling in the middle, tapering to ragged
// ends, with bristle streaks running along it.
void paintBrushStroke(QPainter &p, QPointF a, QPointF b, double bend, double width, Lcg &rng)
{
    const QPointF dir = (b - a) / std::hypot(b.x() - a.x(), b.y() - a.y());
    const QPointF normal(-dir.y(), dir.x());
    auto centre = [&](double t) {
        const double arc = std::sin(M_PI * t) * bend;
        return a + (b - a) * t + normal * arc;
    };
    auto halfWidth = [&](double t) {
        const double swell = std::sqrt(std::sin(M_PI * (0.02 + 0.96 * t)));
        // Pressed harder at the start, lifting off towards the end.
        return 0.5 * width * (0.62 + 0.38 * swell) * (1.06 - 0.12 * t);
    };
    constexpr int kSteps = 48;
    constexpr int kCap = 9;
    QPolygonF outline;
    for (int i = 0; i <= kSteps; ++i) {
        const double t = double(i) / kSteps;
        outline << centre(t) + normal * halfWidth(t);
    }
    // Rounded, slightly frayed ends.
    auto cap = [&](double t, QPointF out, double side) {
        for (int k = 1; k < kCap; ++k) {
            const double angle = M_PI * k / kCap;
            const double w = halfWidth(t);
            outline << centre(t) + normal * (side * w * std::cos(angle)) +
                           out * (w * 0.45 * std::sin(angle) + rng.range(-2.2, 2.2));
        }
    };
    cap(1.0, dir, 1.0);
    for (int i = kSteps; i >= 0; --i) {
        const double t = double(i) / kSteps;
        outline << centre(t) - normal * halfWidth(t);
    }
    cap(0.0, -dir, -1.0);
    QPainterPath shape;
    shape.addPolygon(outline);
    shape.closeSubpath();

    QLinearGradient fill(0, 25, 0, 128);
    fill.setColorAt(0.0, QColor(242, 84, 62));
    fill.setColorAt(0.5, QColor(212, 36, 30));
    fill.setColorAt(1.0, QColor(150, 16, 18));
    p.setPen(QPen(QColor(120, 10, 12, 160), 1.0));
    p.setBrush(fill);
    p.drawPath(shape);

    p.save();
    p.setClipPath(shape);
    for (int s = 0; s < 9; ++s) {
        const double offset = rng.range(-0.85, 0.85);
        const double t0 = rng.range(0.0, 0.25);
        const double t1 = rng.range(0.7, 1.0);
        const bool light = s % 3 == 0;
        QPainterPath streak;
        for (int i = 0; i <= 24; ++i) {
            const double t = t0 + (t1 - t0) * i / 24.0;
            const QPointF pt = centre(t) + normal * (offset * halfWidth(t));
            if (i == 0)
                streak.moveTo(pt);
            else
                streak.lineTo(pt);
        }
        const QColor c = light ? QColor(255, 170, 150, 70) : QColor(110, 0, 0, 60);
        p.setPen(QPen(c, rng.range(0.8, 2.0), Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(streak);
    }
    p.restore();
}

} // namespace

QImage paintWrong()
{
    const QSize size(150, 150);
    QImage img = newImage(size.width(), size.height(), palette::kPictureGround);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Shadow first, from the bare stroke shapes.
    QPainterPath first;
    first.moveTo(32, 30);
    first.quadTo(80, 70, 120, 122);
    QPainterPath second;
    second.moveTo(118, 28);
    second.quadTo(70, 72, 34, 122);
    QPainterPath both = strokeOutline(first, 26.0);
    both.addPath(strokeOutline(second, 26.0));
    paintShadow(p, size, both, QPointF(4.0, 6.0), 4, QColor(30, 45, 70, 100));
    Lcg rng(0x5eed1234u);
    paintBrushStroke(p, QPointF(32, 30), QPointF(120, 122), -5.0, 30.0, rng);
    paintBrushStroke(p, QPointF(118, 28), QPointF(34, 122), 6.0, 30.0, rng);
    return img;
}

QImage paintMarker()
{
    const QSize size(20, 32);
    QImage img = newImage(size.width(), size.height(), palette::kMarkerYellow);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath tick;
    tick.moveTo(4.2, 16.0);
    tick.lineTo(8.4, 20.8);
    tick.lineTo(15.8, 10.2);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(80, 110, 20, 70), 3.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick.translated(0.7, 0.9));
    p.setPen(QPen(QColor(26, 140, 36), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
    return img;
}

} // namespace vk::skingen
