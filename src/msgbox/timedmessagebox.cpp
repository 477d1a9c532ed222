#include "msgbox/timedmessagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QMessageBox>
#include <QMetaObject>
#include <QShowEvent>
#include <QTimer>

#include <array>

namespace vk {
namespace {

struct ButtonKind {
    BoxAnswer id;
    QMessageBox::StandardButton button;
    const char *text; // fixed English texts, whatever the system language
};

constexpr std::array<ButtonKind, 7> kButtons{{
    {BoxAnswer::Ok, QMessageBox::Ok, "OK"},
    {BoxAnswer::Cancel, QMessageBox::Cancel, "Cancel"},
    {BoxAnswer::Abort, QMessageBox::Abort, "Abort"},
    {BoxAnswer::Retry, QMessageBox::Retry, "Retry"},
    {BoxAnswer::Ignore, QMessageBox::Ignore, "Ignore"},
    {BoxAnswer::Yes, QMessageBox::Yes, "Yes"},
    {BoxAnswer::No, QMessageBox::No, "No"},
}};

QList<BoxAnswer> buttonIdsOf(std::uint32_t style)
{
    switch (style & 0x0F) {
    case BoxStyle::OkCancel:
        return {BoxAnswer::Ok, BoxAnswer::Cancel};
    case BoxStyle::AbortRetryIgnore:
        return {BoxAnswer::Abort, BoxAnswer::Retry, BoxAnswer::Ignore};
    case BoxStyle::YesNoCancel:
        return {BoxAnswer::Yes, BoxAnswer::No, BoxAnswer::Cancel};
    case BoxStyle::YesNo:
        return {BoxAnswer::Yes, BoxAnswer::No};
    case BoxStyle::RetryCancel:
        return {BoxAnswer::Retry, BoxAnswer::Cancel};
    default:
        return {BoxAnswer::Ok};
    }
}

QMessageBox::Icon iconOf(std::uint32_t style)
{
    switch (style & 0xF0) {
    case BoxStyle::IconHand:
        return QMessageBox::Critical;
    case BoxStyle::IconQuestion:
        return QMessageBox::Question;
    case BoxStyle::IconExclamation:
        return QMessageBox::Warning;
    case BoxStyle::IconAsterisk:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

const ButtonKind *kindById(BoxAnswer id)
{
    for (const ButtonKind &kind : kButtons)
        if (kind.id == id)
            return &kind;
    return nullptr;
}

// A message box that stands centred over its owner control, where a
// dialog is put over the owner's whole window by default: the owner may be
// a surface inside a larger window.
class CentredMessageBox final : public QMessageBox
{
public:
    explicit CentredMessageBox(QWidget *owner)
        : QMessageBox(owner)
    {
    }

protected:
    void showEvent(QShowEvent *event) override
    {
        // The box has its final size here, and is not on the screen yet.
        QMessageBox::showEvent(event);
        const QWidget *owner = parentWidget();
        if (!owner || event->spontaneous())
            return;
        const QPoint centre = owner->mapToGlobal(owner->rect().center());
        move(centre - QPoint(width() / 2, height() / 2));
    }
};

QAbstractButton *buttonById(QMessageBox *box, BoxAnswer id)
{
    const ButtonKind *kind = kindById(id);
    return box && kind ? box->button(kind->button) : nullptr;
}

BoxAnswer idOfButton(const QMessageBox &box, QAbstractButton *button)
{
    const QMessageBox::StandardButton standard = box.standardButton(button);
    for (const ButtonKind &kind : kButtons)
        if (kind.button == standard)
            return kind.id;
    return BoxAnswer::No;
}

// Keeps the owner window (and every control in it) from taking input while
// its box is open, as a disabled owner would; the rest of the program stays
// usable. Activating the owner brings the box forward instead.
class OwnerInputBlocker final : public QObject
{
public:
    OwnerInputBlocker(QWidget *owner, QMessageBox *box)
        : m_owner(owner)
        , m_box(box)
    {
        qApp->installEventFilter(this);
    }
    ~OwnerInputBlocker() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_owner || !watched->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        if (widget != m_owner && !m_owner->isAncestorOf(widget))
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::TabletMove:
            return true;
        case QEvent::WindowActivate:
            if (widget == m_owner && m_box)
                QMetaObject::invokeMethod(m_box.data(), [box = m_box] {
                    if (box && box->isVisible()) {
                        box->raise();
                        box->activateWindow();
                    }
                }, Qt::QueuedConnection);
            return false;
        default:
            return false;
        }
    }

private:
    QPointer<QWidget> m_owner;
    QPointer<QMessageBox> m_box;
};

} // namespace

BoxAnswer TimedMessageBox::showTimedBox(MessageBoxRequest &request, QWidget &window)
{
    const std::weak_ptr<char> life = m_life;

    request.tickCount = 0;
    QPointer<QTimer> timer = window.findChild<QTimer *>(QStringLiteral("answerTimer"));
    m_timer = timer;
    if (timer) {
        timer->setInterval(request.tickInterval);
        // An interval of 0 would tick on every pass of the event loop; a
        // timer without an interval does not tick at all.
        if (request.autoAnswer && request.tickInterval > 0)
            timer->start();
        else
            timer->stop();
    }

    QWidget *owner = request.blockedWindow ? request.blockedWindow.data() : &window;
    QPointer<QMessageBox> box = new CentredMessageBox(owner);
    box->setWindowTitle(request.caption);
    box->setText(request.text);
    box->setIcon(iconOf(request.style));
    for (const BoxAnswer id : buttonIdsOf(request.style)) {
        const ButtonKind *kind = kindById(id);
        box->addButton(kind->button);
        box->button(kind->button)->setText(QString::fromLatin1(kind->text));
    }
    // Not Qt-modal: that would block the owner's parent windows as well.
    box->setWindowModality(Qt::NonModal);
    m_box = box;

    // Where the keyboard goes back to once the box has closed.
    const QPointer<QWidget> focusBefore = QApplication::focusWidget();
    const QPointer<QWidget> ownerWindow = owner->window();

    BoxAnswer answer = BoxAnswer::No;
    {
        OwnerInputBlocker blocker(owner, box);
        QEventLoop loop;
        QObject::connect(box, &QDialog::finished, &loop, &QEventLoop::quit);
        // Unloading the window while the box is open destroys the box with it.
        QObject::connect(box, &QObject::destroyed, &loop, &QEventLoop::quit);
        box->show();
        // The box takes the keyboard: without a window manager nobody else
        // gives it, and one that prevents focus stealing may keep it on the
        // owner.
        box->raise();
        box->activateWindow();
        openBoxHandle = reinterpret_cast<MessageBoxHandle>(box.data());
        loop.exec(QEventLoop::DialogExec);
        if (box) {
            if (QAbstractButton *pressed = box->clickedButton())
                answer = idOfButton(*box, pressed);
            delete box.data();
        }
    }

    if (ownerWindow && ownerWindow->isVisible()) {
        ownerWindow->activateWindow();
        if (focusBefore && focusBefore->window() == ownerWindow)
            focusBefore->setFocus(Qt::ActiveWindowFocusReason);
    }
    if (life.expired())
        return answer;
    m_box = nullptr;
    // The box is closed whichever way it went; nothing may go on thinking
    // it is open (the clock would never finish the stage).
    openBoxHandle = 0;
    if (timer)
        timer->stop();
    return answer;
}

void TimedMessageBox::answerTimerTick()
{
    if (openBoxHandle == 0)
        return;
    ++boxRequest.tickCount;
    if (boxRequest.tickCount != boxRequest.autoAnswerTicks)
        return;

    if (m_timer)
        m_timer->stop();
    QPointer<QMessageBox> box = m_box;
    QPointer<QAbstractButton> button = buttonById(box, boxRequest.autoAnswerButton);
    if (button) {
        button->setFocus();
        const std::weak_ptr<char> life = m_life;
        QCoreApplication::processEvents();
        if (life.expired())
            return;
        // The user may have answered (or the window gone) while events were
        // processed; a second press would overwrite that answer.
        if (button && box && box->isVisible() && !box->clickedButton())
            button->click();
        if (life.expired())
            return;
    }
    openBoxHandle = 0;
}

QMessageBox *TimedMessageBox::openBox() const
{
    return m_box && m_box->isVisible() ? m_box.data() : nullptr;
}

} // namespace vk
