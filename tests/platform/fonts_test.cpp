// Bold Tahoma has to look bold: the labels, START, the clock and the
// sheet's digits are set in it.
#include "platform/fonts.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace vk {
namespace {

// The ink a text leaves: the sum of how dark each pixel is.
double inkOf(const QFont &font, const QString &text)
{
    QImage image(1400, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(image.rect(), Qt::AlignLeft | Qt::AlignVCenter, text);
    p.end();
    double ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += 255 - qGray(image.pixel(x, y));
    return ink;
}

TEST(Fonts, boldTahomaIsVisiblyBolderThanRegular)
{
    const QString text = QStringLiteral("START 0123456789");
    for (const double points : {12.0, 21.0, 28.0, 36.0}) {
        SCOPED_TRACE(points);
        const QFont regular = makeFont(QStringLiteral("Tahoma"), points);
        const QFont bold = makeFont(QStringLiteral("Tahoma"), points, true);
        EXPECT_EQ(QFontInfo(regular).family(), QStringLiteral("Tahoma"));
        EXPECT_EQ(QFontInfo(bold).family(), QStringLiteral("Tahoma")) << "bold stays Tahoma";
        const double ratio = inkOf(bold, text) / inkOf(regular, text);
        EXPECT_GT(ratio, 1.25) << "bold ink only " << ratio << " x the regular ink";
    }
}

} // namespace
} // namespace vk
