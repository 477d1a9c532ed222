#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QString>

#include <array>
#include <limits>

namespace vk {

// Ready-drawn pieces of the clock display, so that the once-a-second change
// of its reading is a copy of a few rows of pixels instead of text drawing.
//
// A reading looks like "mm:ss". When every digit of the display font is as
// wide as every other and no two characters of a reading are kerned, each
// character stands at the same place in every reading. A change whose first
// changed character is one of the seconds then touches the display only
// from a little left of that character to the right edge, and what that part
// shows depends on nothing but the characters from the one before it on:
// the ones further left never reach into it (measured once per font and
// size, with the shadow and a pixel to spare each side). Each such part is
// drawn once, exactly as a whole redraw draws it, and copied from then on.
// Any other font, size or text is left to the caller's own drawing.
class ClockPieces
{
public:
    // How the display draws a reading: its size, font and back colour, and
    // the colours of the white copy two pixels to the lower right and of the
    // text on top. Its kept image is a surface's, as makeLargeImage makes it.
    struct Look
    {
        QSize size;
        QFont font;
        QColor back;
        QColor shadow;
        QColor text;
    };

    // How far right and down the white copy lies.
    static constexpr int kShadowOffset = 2;

    // Where the text of a reading `textWidth` x `textHeight` pixels starts:
    // centred in a display of `size`.
    static QPointF textOrigin(QSize size, int textWidth, int textHeight);

    // Forgets every piece and the layout; the next use works them out for
    // `look`. An empty size switches the pieces off.
    void reset(const Look &look);

    struct Change
    {
        const QImage *piece = nullptr; // null: no piece makes this change
        QPoint at;
    };
    // The change of a display of `size` showing `drawn` (as a whole redraw
    // of it left it) to showing `text`.
    Change change(QSize size, const QString &drawn, const QString &text);

    // Keeps, from `display` showing `text` exactly as a whole redraw leaves
    // it, the piece for a change from `drawn`, when there is none yet.
    void keep(const QString &drawn, const QString &text, const QImage &display);

    // Draws one more piece a running clock will need within a minute: the
    // seconds' 60 and the 6 whole tens. False once all are there.
    bool prepareNext();

    // A reading drawn as the display draws it, over `image`.
    void drawReading(QImage &image, const QString &text) const;

private:
    static constexpr int kReadingLength = 5;
    // The first changed characters a piece can stand for: the tens and the
    // units of the seconds.
    static constexpr int kFirstPieceAt = 3;

    // The columns a character's two layers cover, from its pen position.
    struct Ink
    {
        int left = std::numeric_limits<int>::max();
        int right = std::numeric_limits<int>::min();
    };

    bool ensureLayout();
    QImage blankImage(QSize size) const;
    // What `c` inks when drawn alone a quarter into `blank` at height `y`.
    Ink measureInk(const QImage &blank, QChar c, qreal y) const;
    bool isReading(const QString &text) const;
    // The first character at which the two readings differ, if a piece can stand for the change.
    int pieceStart(const QString &drawn, const QString &text) const;
    QRect pieceArea(int first) const;
    void keepPiece(int first, const QString &text, const QImage &display);

    Look m_look;
    enum class Layout { Unknown, Usable, Unusable } m_layout = Layout::Unknown;
    // Left edge of the part a change starting at character i touches; 0
    // where no piece can stand for such a change.
    std::array<int, kReadingLength> m_pieceLeft{};
    QHash<QString, QImage> m_pieces;
    int m_nextToPrepare = 0;
};

} // namespace vk
