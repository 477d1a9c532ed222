#include "skin/controlbuilder.h"

#include "platform/fonts.h"
#include "platform/surface.h"
#include "skin/skintemplate.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QTimer>

#include <string>

namespace vk {
namespace {

QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont definedFont(const FontDefinition &font)
{
    return makeFont(toQString(font.face), font.points, font.bold, font.underline);
}

QColor definedColour(const ColourDefinition &colour)
{
    if (colour.source == ColourDefinition::Source::WindowText)
        return QApplication::palette().color(QPalette::WindowText);
    return colour.fixed;
}

bool isDefined(const ColourDefinition &colour)
{
    return colour.source != ColourDefinition::Source::None;
}

// The pictures built into the program, each decoded once per run and
// scale when a control first shows it (every START builds the exercise
// window afresh; the start screen needs none of them).
QImage definedPicture(DefinedPicture picture, const SkinTemplate &skin, int scale)
{
    const int at = scale == 2 ? 1 : 0;
    switch (picture) {
    case DefinedPicture::None: break;
    case DefinedPicture::WrongAnswer: {
        static QImage wrong[2];
        if (wrong[at].isNull())
            wrong[at] = wrongPicture(scale);
        return wrong[at];
    }
    case DefinedPicture::CorrectAnswer: {
        static QImage correct[2];
        if (correct[at].isNull())
            correct[at] = correctPicture(scale);
        return correct[at];
    }
    case DefinedPicture::SetMarker: {
        static QImage marker[2];
        if (marker[at].isNull())
            marker[at] = markerPicture(scale);
        return marker[at];
    }
    case DefinedPicture::SkinTemplate: return skin.image();
    }
    return {};
}

QObject *makeControl(const ControlDefinition &definition, QWidget *parent, const ControlMaker &makeOther)
{
    switch (definition.kind) {
    case ControlKind::PictureBox: return new Surface(parent);
    case ControlKind::Timer: return new QTimer(parent);
    case ControlKind::Label: return new QLabel(toQString(definition.text), parent);
    case ControlKind::PushButton: return new QPushButton(toQString(definition.text), parent);
    case ControlKind::ComboBox: return new QComboBox(parent);
    case ControlKind::Grid: break;
    }
    QWidget *control = makeOther ? makeOther(definition, parent) : nullptr;
    if (!control)
        qFatal("Nothing makes the control %s", std::string(definition.objectName).c_str());
    return control;
}

// A picture box's look. The picture comes last: it is laid into the kept
// image at the size and in the colour the box has by then.
void stylePictureBox(Surface &box, const ControlDefinition &definition, const SkinTemplate &skin, const QRect &geometry)
{
    if (isDefined(definition.back))
        box.setBackColor(definedColour(definition.back));
    if (isDefined(definition.fore))
        box.setForeColor(definedColour(definition.fore));
    const QImage picture = definedPicture(definition.picture, skin, box.imageScale());
    box.setGeometry(definition.sizedToPicture ? QRect(geometry.topLeft(), picture.deviceIndependentSize().toSize()) : geometry);
    box.setAutoRedraw(definition.autoRedraw);
    if (definition.font)
        box.setFont(definedFont(*definition.font));
    if (definition.pointer != Surface::Pointer::Default)
        box.setMousePointer(definition.pointer);
    if (!picture.isNull())
        box.setPicture(picture);
}

// A label is as large as its text in its font.
void styleLabel(QLabel &label, const ControlDefinition &definition, const QRect &geometry)
{
    if (definition.font)
        label.setFont(definedFont(*definition.font));
    if (definition.alignment)
        label.setAlignment(definition.alignment);
    if (isDefined(definition.fore) || isDefined(definition.back)) {
        QPalette palette = label.palette();
        if (isDefined(definition.fore))
            palette.setColor(QPalette::WindowText, definedColour(definition.fore));
        if (isDefined(definition.back))
            palette.setColor(QPalette::Window, definedColour(definition.back));
        label.setPalette(palette);
        label.setAutoFillBackground(isDefined(definition.back));
    }
    label.move(geometry.topLeft());
    label.adjustSize();
}

// A combo box the user cannot type into, with nothing chosen until the
// window's load chooses.
void styleComboBox(QComboBox &box, const ControlDefinition &definition, const QRect &geometry)
{
    box.setEditable(false);
    if (definition.font)
        box.setFont(definedFont(*definition.font));
    for (std::string_view item : definition.items)
        box.addItem(toQString(item));
    box.setCurrentIndex(-1);
    box.setGeometry(geometry);
}

QObject *buildControl(const ControlDefinition &definition, QWidget *parent, const SkinTemplate &skin,
                      const ControlMaker &makeOther, const QString &objectName, const QRect &geometry)
{
    QObject *control = makeControl(definition, parent, makeOther);
    control->setObjectName(objectName);
    if (auto *timer = qobject_cast<QTimer *>(control)) {
        timer->setInterval(definition.interval);
        timer->setTimerType(definition.timerType);
        return control;
    }
    auto *widget = static_cast<QWidget *>(control);
    if (auto *box = qobject_cast<Surface *>(widget)) {
        stylePictureBox(*box, definition, skin, geometry);
    } else if (auto *label = qobject_cast<QLabel *>(widget)) {
        styleLabel(*label, definition, geometry);
    } else if (auto *comboBox = qobject_cast<QComboBox *>(widget)) {
        styleComboBox(*comboBox, definition, geometry);
    } else {
        if (definition.font)
            widget->setFont(definedFont(*definition.font));
        widget->setGeometry(geometry);
    }
    // Only picture boxes know the program's pointers; other controls show
    // the same cursors.
    if (!qobject_cast<Surface *>(widget) && definition.pointer != Surface::Pointer::Default)
        widget->setCursor(definition.pointer == Surface::Pointer::Custom ? Qt::PointingHandCursor : Qt::ArrowCursor);
    if (definition.focusPolicy)
        widget->setFocusPolicy(*definition.focusPolicy);
    if (!definition.visible)
        widget->hide();
    return control;
}

} // namespace

QObject *BuiltControls::find(std::string_view objectName) const
{
    const QString name = toQString(objectName);
    for (QObject *control : m_controls)
        if (control->objectName() == name)
            return control;
    return nullptr;
}

void BuiltControls::notBuilt(std::string_view objectName)
{
    qFatal("No control %s of that type was built", std::string(objectName).c_str());
}

void applyWindowDefinition(Surface &window, const WindowDefinition &definition)
{
    if (!definition.title.empty())
        window.setWindowTitle(toQString(definition.title));
    window.setBackColor(definition.back);
    window.setFont(definedFont(definition.font));
    window.resize(definition.designSize);
}

BuiltControls buildControls(Surface &window, const WindowDefinition &definition, const SkinTemplate &skin,
                            const ControlMaker &makeOther)
{
    BuiltControls built;
    for (const ControlDefinition &control : definition.controls) {
        QWidget *parent = control.parent.empty() ? &window : built.get<QWidget>(control.parent);
        built.add(buildControl(control, parent, skin, makeOther, toQString(control.objectName), control.geometry));
    }
    QWidget *previous = nullptr;
    for (std::string_view name : definition.tabOrder) {
        QWidget *next = built.get<QWidget>(name);
        if (previous)
            QWidget::setTabOrder(previous, next);
        previous = next;
    }
    return built;
}

Surface *buildPictureBoxCopy(const ControlDefinition &definition, QWidget *parent, const SkinTemplate &skin,
                             const QString &objectName, const QRect &geometry)
{
    Q_ASSERT(definition.kind == ControlKind::PictureBox);
    return static_cast<Surface *>(buildControl(definition, parent, skin, {}, objectName, geometry));
}

} // namespace vk
