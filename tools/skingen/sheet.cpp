#include "sheet.h"

#include "brand.h"
#include "frame.h"
#include "icon.h"
#include "pictures.h"
#include "pieces.h"
#include "skin/palette.h"
#include "skin/templatemap.h"

#include <QPainter>

namespace vk::skingen {

QImage paintTemplate(const Fonts &fonts)
{
    QImage img = newImage(kTemplateSize.width(), kTemplateSize.height(), palette::kWindowBody);

    // Frame of the sheet itself: corners, border slices and the top band all come
    // from here.
    overlayFrame(img, 0, 0, FrameGeom{double(kTemplateSize.width()), double(kTemplateSize.height())}, QRect(QPoint(0, 0), kTemplateSize));

    {
        QPainter p(&img);
        p.drawImage(kStageArea.topLeft(), paintStage(fonts));
    }
    paintTab(img);
    paintControls(img);

    {
        QPainter p(&img);
        p.drawImage(skin::kLargeLogo.topLeft(), paintLogo(fonts));
        p.drawImage(skin::kSlogan.topLeft(), paintSlogan(fonts));
    }
    paintButtons(img);

    {
        QPainter p(&img);
        // A small gallery of the loose pictures, so the sheet shows the whole set.
        p.drawImage(760, 330, paintCorrect());
        p.drawImage(930, 330, paintWrong());
        p.drawImage(1100, 330, paintMarker());
        p.drawImage(1100, 380, paintIcon(32));
        p.drawImage(1100, 430, paintSmallIcon());

        p.setRenderHint(QPainter::Antialiasing);
        p.setFont(makeFont(fonts.tahomaBold, 13));
        p.setPen(QColor(80, 108, 156));
        p.drawText(QPointF(760, 716), QStringLiteral("KELVARIS VENDRAKUL"));
        p.setFont(makeFont(fonts.tahoma, 11));
        p.setPen(QColor(112, 136, 176));
        p.drawText(QPointF(760, 734), QStringLiteral("skin sheet \u00b7 www.kelvaris.example"));
    }
    paintPanel(img);
    return img.convertToFormat(QImage::Format_RGB888);
}

} // namespace vk::skingen
