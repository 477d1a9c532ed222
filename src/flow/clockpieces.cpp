#include "flow/clockpieces.h"

#include "platform/largeimage.h"
#include "platform/rounding.h"
#include "platform/surface.h"

#include <QFontMetrics>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace vk {
namespace {

const QString kDigits = QStringLiteral("0123456789");
const QString kReferenceReading = QStringLiteral("00:00");

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

QPointF ClockPieces::textOrigin(QSize size, int textWidth, int textHeight)
{
    return {(size.width() - textWidth) / 2.0, (size.height() - textHeight) / 2.0};
}

void ClockPieces::reset(const Look &look)
{
    m_look = look;
    m_layout = look.size.isEmpty() ? Layout::Unusable : Layout::Unknown;
    m_pieceLeft.fill(0);
    m_pieces.clear();
    m_nextToPrepare = 0;
}

ClockPieces::Ink ClockPieces::measureInk(const QImage &blank, QChar c, qreal y) const
{
    QImage probe = blank.copy();
    const int penX = probe.width() / 4;
    printTextAt(probe, m_look.font, m_look.shadow, penX + kShadowOffset, y + kShadowOffset, QString(c));
    printTextAt(probe, m_look.font, m_look.text, penX, y, QString(c));
    const QRgb back = blank.pixel(0, 0);
    Ink ink;
    for (int row = 0; row < probe.height(); ++row) {
        const auto *pixels = reinterpret_cast<const QRgb *>(probe.constScanLine(row));
        for (int x = 0; x < probe.width(); ++x) {
            if (pixels[x] != back) {
                ink.left = std::min(ink.left, x - penX - 1);
                ink.right = std::max(ink.right, x - penX + 1);
            }
        }
    }
    // A character that leaves no ink reaches nowhere.
    if (ink.left > ink.right)
        ink = {0, 0};
    return ink;
}

QImage ClockPieces::blankImage(QSize size) const
{
    QImage image = makeLargeImage(size);
    image.fill(m_look.back);
    return image;
}

void ClockPieces::drawReading(QImage &image, const QString &text) const
{
    const QFontMetrics metrics(m_look.font);
    const QPointF origin = textOrigin(image.size(), metrics.horizontalAdvance(text), metrics.height());
    printTextAt(image, m_look.font, m_look.shadow, origin.x() + kShadowOffset, origin.y() + kShadowOffset, text);
    printTextAt(image, m_look.font, m_look.text, origin.x(), origin.y(), text);
}

bool ClockPieces::isReading(const QString &text) const
{
    if (text.size() != kReadingLength)
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isDigit(kReferenceReading[i]) ? !isDigit(text[i]) : text[i] != kReferenceReading[i])
            return false;
    }
    return true;
}

bool ClockPieces::ensureLayout()
{
    if (m_layout != Layout::Unknown)
        return m_layout == Layout::Usable;
    m_layout = Layout::Unusable;

    // Every reading lays out alike only if all digits are equally wide and
    // no two characters that can stand side by side are kerned.
    const QFontMetricsF exact(m_look.font);
    const QString characters = kDigits + QLatin1Char(':');
    const qreal digitAdvance = exact.horizontalAdvance(QLatin1Char('0'));
    for (const QChar c : kDigits) {
        if (exact.horizontalAdvance(c) != digitAdvance)
            return false;
    }
    for (const QChar a : characters) {
        for (const QChar b : characters) {
            if (exact.horizontalAdvance(QString(a) + b) != exact.horizontalAdvance(a) + exact.horizontalAdvance(b))
                return false;
        }
    }

    // Where each character's pen stands, as drawText places it after the
    // origin is rounded to a whole pixel.
    const QFontMetrics metrics(m_look.font);
    const QSize size = m_look.size;
    const QPointF origin = textOrigin(size, metrics.horizontalAdvance(kReferenceReading), metrics.height());
    const int originX = roundHalfEven(origin.x());
    std::array<int, kReadingLength> pen{};
    for (int i = 0; i < kReadingLength; ++i)
        pen[i] = static_cast<int>(std::floor(originX + exact.horizontalAdvance(kReferenceReading.left(i))));

    // The columns each character covers with both layers, measured by
    // drawing it alone. At its place in a reading its pen has a fraction
    // of a pixel more, which can move the ink by a pixel either way.
    const QImage probe = blankImage(QSize(4 * static_cast<int>(std::ceil(digitAdvance)) + 4 * kShadowOffset, size.height()));
    QHash<QChar, Ink> inkOf;
    for (const QChar c : characters)
        inkOf.insert(c, measureInk(probe, c, origin.y()));
    const auto widestInk = [&](int i) {
        Ink widest;
        for (const QChar c : isDigit(kReferenceReading[i]) ? kDigits : QString(kReferenceReading[i])) {
            widest.left = std::min(widest.left, inkOf[c].left);
            widest.right = std::max(widest.right, inkOf[c].right);
        }
        return widest;
    };

    // The part a change starting at character `first` touches begins a
    // little left of it: what any of its characters, old or new, can ink.
    // A piece stands for it when nothing further left than the character
    // before reaches into that part.
    bool any = false;
    for (int first = kFirstPieceAt; first < kReadingLength; ++first) {
        int left = size.width();
        for (int i = first; i < kReadingLength; ++i)
            left = std::min(left, pen[i] + widestInk(i).left);
        bool clear = left > 0;
        for (int i = 0; i + 1 < first; ++i)
            clear = clear && pen[i] + widestInk(i).right < left;
        if (clear) {
            m_pieceLeft[first] = left;
            any = true;
        }
    }
    if (any)
        m_layout = Layout::Usable;
    return any;
}

int ClockPieces::pieceStart(const QString &drawn, const QString &text) const
{
    if (!isReading(drawn) || !isReading(text))
        return -1;
    int first = 0;
    while (first < kReadingLength && drawn[first] == text[first])
        ++first;
    if (first < kFirstPieceAt || first >= kReadingLength || m_pieceLeft[first] == 0)
        return -1;
    return first;
}

QRect ClockPieces::pieceArea(int first) const
{
    const QSize size = m_look.size;
    return QRect(m_pieceLeft[first], 0, size.width() - m_pieceLeft[first], size.height());
}

ClockPieces::Change ClockPieces::change(QSize size, const QString &drawn, const QString &text)
{
    if (m_pieces.isEmpty() || size != m_look.size || !ensureLayout())
        return {};
    const int first = pieceStart(drawn, text);
    if (first < 0)
        return {};
    const auto found = m_pieces.constFind(text.mid(first - 1));
    if (found == m_pieces.constEnd())
        return {};
    return {&found.value(), pieceArea(first).topLeft()};
}

void ClockPieces::keep(const QString &drawn, const QString &text, const QImage &display)
{
    if (display.size() != m_look.size || !ensureLayout())
        return;
    const int first = pieceStart(drawn, text);
    if (first >= 0)
        keepPiece(first, text, display);
}

void ClockPieces::keepPiece(int first, const QString &text, const QImage &display)
{
    const QString key = text.mid(first - 1);
    if (!m_pieces.contains(key))
        m_pieces.insert(key, display.copy(pieceArea(first)));
}

bool ClockPieces::prepareNext()
{
    constexpr int kSeconds = 60;
    if (m_nextToPrepare >= kSeconds || !ensureLayout())
        return false;
    // One reading a call, ending in the seconds `second`: its piece for a
    // change of the units, and for a change of the tens on a whole ten.
    const int second = m_nextToPrepare++;
    const QString text = QStringLiteral("00:%1").arg(second, 2, 10, QLatin1Char('0'));
    const bool units = m_pieceLeft[4] != 0 && !m_pieces.contains(text.mid(3));
    const bool tens = second % 10 == 0 && m_pieceLeft[3] != 0 && !m_pieces.contains(text.mid(2));
    if (units || tens) {
        QImage image = blankImage(m_look.size);
        drawReading(image, text);
        if (units)
            keepPiece(4, text, image);
        if (tens)
            keepPiece(3, text, image);
    }
    return m_nextToPrepare < kSeconds;
}

} // namespace vk
