#include "ui/main/logstatusline.h"

#include "platform/movecontrol.h"
#include "skin/palette.h"
#include "ui/main/mainwindowlifecycle.h"

#include <QEvent>
#include <QFont>
#include <QPalette>

namespace vk {
namespace {

// Under the settings panel, as wide as it: the panel's bottom is 70 pixels
// above the window's, the body's frame 14.
constexpr int kTopFromBottom = 60;
constexpr int kHeight = 40;

} // namespace

LogStatusLine::LogStatusLine(QWidget &window)
    : QLabel(&window)
{
    setObjectName(QLatin1String(kObjectName));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setWordWrap(true);
    setFocusPolicy(Qt::NoFocus);
    setTextFormat(Qt::PlainText);
    // Only to be read: a click goes to whatever is under it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    window.installEventFilter(this);
    place();
}

void LogStatusLine::show(const QString &text, bool problem)
{
    setText(text);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, problem ? palette::kCaptionRed : palette::kNavy);
    setPalette(colours);
    // Shown where it stands among its siblings: a stage, made later, stays
    // above it and covers it.
    QLabel::show();
}

bool LogStatusLine::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        place();
    return QLabel::eventFilter(watched, event);
}

void LogStatusLine::place()
{
    const QWidget &window = *parentWidget();
    moveControl(*this, (window.width() - MainWindowLifecycle::kPanelWidth) / 2.0, window.height() - kTopFromBottom,
                MainWindowLifecycle::kPanelWidth, kHeight);
}

} // namespace vk
