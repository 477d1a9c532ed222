#include "brand.h"

#include "skin/palette.h"
#include "skin/templatemap.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <string>
#include <vector>

namespace vk::skingen {

void paintEmblem(QPainter &p, QPointF centre, double radius, const QSize &canvas, bool withShadow)
{
    QPainterPath disc;
    disc.addEllipse(centre, radius, radius);
    if (withShadow)
        paintShadow(p, canvas, disc, QPointF(radius * 0.04, radius * 0.10), std::max(1, int(radius / 12)),
                    QColor(20, 40, 90, 110));

    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // Rim.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(18, 44, 100));
    p.drawEllipse(centre, radius, radius);
    p.setBrush(QColor(236, 243, 252));
    p.drawEllipse(centre, radius * 0.94, radius * 0.94);

    const double inner = radius * 0.86;
    QRadialGradient body(centre + QPointF(-inner * 0.35, -inner * 0.45), inner * 1.5);
    body.setColorAt(0.0, QColor(120, 172, 238));
    body.setColorAt(0.55, QColor(46, 100, 186));
    body.setColorAt(1.0, QColor(18, 48, 118));
    p.setBrush(body);
    p.drawEllipse(centre, inner, inner);

    // The cross, with a faint shadow so it sits on the disc rather than on top of it.
    const double arm = inner * 0.50;
    const double stroke = inner * 0.26;
    QPainterPath cross;
    cross.moveTo(centre + QPointF(-arm, -arm));
    cross.lineTo(centre + QPointF(arm, arm));
    cross.moveTo(centre + QPointF(arm, -arm));
    cross.lineTo(centre + QPointF(-arm, arm));
    const QPainterPath crossShape = strokeOutline(cross, stroke, Qt::FlatCap, Qt::MiterJoin);
    p.setBrush(QColor(10, 28, 70, 90));
    p.drawPath(crossShape.translated(inner * 0.03, inner * 0.07));
    QLinearGradient crossFill(centre + QPointF(0, -arm), centre + QPointF(0, arm));
    crossFill.setColorAt(0.0, QColor(255, 255, 255));
    crossFill.setColorAt(1.0, QColor(214, 228, 248));
    p.setBrush(crossFill);
    p.drawPath(crossShape);

    // Gloss over the upper half.
    QPainterPath gloss;
    gloss.addEllipse(QRectF(centre.x() - inner * 0.78, centre.y() - inner * 0.92, inner * 1.56, inner * 1.05));
    QLinearGradient glossFill(centre + QPointF(0, -inner), centre + QPointF(0, inner * 0.15));
    glossFill.setColorAt(0.0, QColor(255, 255, 255, 150));
    glossFill.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setBrush(glossFill);
    p.drawPath(gloss);
    p.restore();
}

namespace {

// Schoolbook product of two decimal strings; the logo shows a real result.
std::string multiplyDecimal(const std::string &a, const std::string &b)
{
    std::vector<int> digits(a.size() + b.size(), 0);
    for (int i = int(a.size()) - 1; i >= 0; --i)
        for (int j = int(b.size()) - 1; j >= 0; --j) {
            const std::size_t pos = std::size_t(i + j + 1);
            const int sum = digits[pos] + (a[std::size_t(i)] - '0') * (b[std::size_t(j)] - '0');
            digits[pos] = sum % 10;
            digits[pos - 1] += sum / 10;
        }
    std::string out;
    for (int d : digits)
        if (!(out.empty() && d == 0))
            out.push_back(char('0' + d));
    return out.empty() ? "0" : out;
}

QString groupDigits(const std::string &digits, int group)
{
    QString out;
    const int n = int(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % group == 0)
            out += QChar(0x2009);
        out += QChar(digits[std::size_t(i)]);
    }
    return out;
}

} // namespace

QImage paintLogo(const Fonts &fonts)
{
    const QSize size = skin::kLargeLogo.size();
    QImage img = newImage(size.width(), size.height(), palette::kWindowBody);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // A soft light pool behind the picture; it reaches the plain body colour well
    // inside the edges so the logo melts into the window.
    {
        p.save();
        p.translate(217.5, 140.0);
        p.scale(1.72, 1.0);
        QRadialGradient pool(QPointF(0, 0), 118.0);
        pool.setColorAt(0.0, QColor(236, 243, 253));
        pool.setColorAt(0.6, QColor(218, 230, 246));
        pool.setColorAt(1.0, palette::kWindowBody);
        p.setPen(Qt::NoPen);
        p.setBrush(pool);
        p.drawEllipse(QPointF(0, 0), 118.0, 118.0);
        p.restore();
    }

    const std::string a = "73914028565019347286";
    const std::string b = "50827319466028175393";
    const QPointF emblemCentre(217.5, 78.0);
    const double emblemRadius = 50.0;

    // The two factors flank the cross, ten digits a line.
    const QFont mono = makeFont(fonts.monoBold, 17);
    p.setFont(mono);
    const QFontMetricsF fm(mono);
    auto drawNumber = [&](const std::string &digits, bool left) {
        const QString hi = QString::fromStdString(digits.substr(0, 10));
        const QString lo = QString::fromStdString(digits.substr(10));
        const double gap = 16.0;
        const double w = fm.horizontalAdvance(hi);
        const double x = left ? emblemCentre.x() - emblemRadius - gap - w : emblemCentre.x() + emblemRadius + gap;
        const double y1 = emblemCentre.y() - 6.0;
        const double y2 = emblemCentre.y() + 18.0;
        p.setPen(QColor(255, 255, 255, 200));
        p.drawText(QPointF(x + 1, y1 + 1), hi);
        p.drawText(QPointF(x + 1, y2 + 1), lo);
        p.setPen(QColor(30, 62, 124));
        p.drawText(QPointF(x, y1), hi);
        p.setPen(QColor(58, 96, 160));
        p.drawText(QPointF(x, y2), lo);
    };
    drawNumber(a, true);
    drawNumber(b, false);

    paintEmblem(p, emblemCentre, emblemRadius, size, true);

    // Rule under the factors, fading out at both ends: the line of a written sum.
    {
        QLinearGradient rule(40, 0, 395, 0);
        rule.setColorAt(0.0, QColor(30, 62, 124, 0));
        rule.setColorAt(0.2, QColor(30, 62, 124, 200));
        rule.setColorAt(0.8, QColor(30, 62, 124, 200));
        rule.setColorAt(1.0, QColor(30, 62, 124, 0));
        p.fillRect(QRectF(40, 146, 355, 2), rule);
        QLinearGradient under(40, 0, 395, 0);
        under.setColorAt(0.0, QColor(255, 255, 255, 0));
        under.setColorAt(0.5, QColor(255, 255, 255, 220));
        under.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.fillRect(QRectF(40, 148, 355, 1), under);
    }

    // "KELVARIS", letter-spaced, above the word mark.
    {
        QFont f = makeFont(fonts.sansBold, 15, true);
        f.setLetterSpacing(QFont::AbsoluteSpacing, 7.0);
        p.setFont(f);
        p.setPen(QColor(62, 98, 160));
        const QString text = QStringLiteral("KELVARIS");
        const double w = QFontMetricsF(f).horizontalAdvance(text) - 7.0;
        p.drawText(QPointF(217.5 - w / 2.0, 174.0), text);
    }

    // Word mark: white-edged, gradient-filled, with a soft shadow.
    {
        QFont f = makeFont(fonts.sansBold, 60, true);
        f.setLetterSpacing(QFont::AbsoluteSpacing, 1.0);
        QPainterPath word;
        word.addText(0, 0, f, QStringLiteral("VENDRAKUL"));
        const QRectF box = word.boundingRect();
        word.translate(217.5 - box.center().x(), 234.0);
        const QRectF placed = word.boundingRect();
        paintShadow(p, size, word, QPointF(2.0, 3.0), 3, QColor(20, 40, 90, 120));
        p.setPen(QPen(QColor(255, 255, 255), 4.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(word);
        QLinearGradient fill(0, placed.top(), 0, placed.bottom());
        fill.setColorAt(0.0, QColor(84, 138, 220));
        fill.setColorAt(0.48, QColor(36, 86, 176));
        fill.setColorAt(0.52, QColor(24, 66, 150));
        fill.setColorAt(1.0, QColor(14, 38, 96));
        p.setPen(QPen(QColor(12, 32, 80), 1.0));
        p.setBrush(fill);
        p.drawPath(word);
        // Sheen on the upper half of the letters.
        p.save();
        p.setClipPath(word);
        QLinearGradient sheen(0, placed.top(), 0, placed.center().y());
        sheen.setColorAt(0.0, QColor(255, 255, 255, 120));
        sheen.setColorAt(1.0, QColor(255, 255, 255, 10));
        p.fillRect(QRectF(placed.left(), placed.top(), placed.width(), placed.height() / 2.0), sheen);
        p.restore();
    }

    // The product, as the answer under the line.
    {
        const QFont f = makeFont(fonts.monoBold, 12);
        p.setFont(f);
        const QString text = QStringLiteral("= ") + groupDigits(multiplyDecimal(a, b), 5);
        const double w = QFontMetricsF(f).horizontalAdvance(text);
        p.setPen(QColor(255, 255, 255, 200));
        p.drawText(QPointF(217.5 - w / 2.0 + 1, 268.0 + 1), text);
        p.setPen(QColor(52, 88, 150));
        p.drawText(QPointF(217.5 - w / 2.0, 268.0), text);
    }
    return img;
}

QImage paintSlogan(const Fonts &fonts)
{
    const QSize size = skin::kSlogan.size();
    QImage img = newImage(size.width(), size.height(), palette::kWindowBody);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QString text = QStringLiteral("Multiply twenty digits in your head");
    QFont f = makeFont(fonts.serifBoldItalic, 25, true, true);
    QPainterPath path;
    path.addText(0, 0, f, text);
    QRectF box = path.boundingRect();
    path.translate(218.0 - box.center().x(), 22.5 - box.center().y());
    box = path.boundingRect();
    // A pale halo lifts the navy letters off the body colour.
    paintShadow(p, size, path, QPointF(0, 0), 2, QColor(255, 255, 255, 255));
    paintShadow(p, size, path, QPointF(1.0, 1.5), 1, QColor(20, 40, 90, 70));
    QLinearGradient fill(0, box.top(), 0, box.bottom());
    fill.setColorAt(0.0, QColor(44, 92, 176));
    fill.setColorAt(1.0, QColor(18, 44, 104));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(path);
    return img;
}

} // namespace vk::skingen
