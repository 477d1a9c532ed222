#pragma once

// Whether a freshly made window and its controls are what its definition
// says, property by property, and in the definition's order. For windows
// made but not yet loaded or painted: the load moves and adds controls,
// painting changes the window's font.
#include "platform/surface.h"
#include "skin/skintemplate.h"
#include "skin/windowdefinitions.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>

namespace vk::test {

inline QString definedText(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline bool isOfKind(const QObject &control, ControlKind kind)
{
    switch (kind) {
    case ControlKind::PictureBox: return qobject_cast<const Surface *>(&control);
    case ControlKind::Timer: return qobject_cast<const QTimer *>(&control);
    case ControlKind::Label: return qobject_cast<const QLabel *>(&control);
    case ControlKind::PushButton: return qobject_cast<const QPushButton *>(&control);
    case ControlKind::ComboBox: return qobject_cast<const QComboBox *>(&control);
    case ControlKind::Grid: return control.isWidgetType() && !qobject_cast<const Surface *>(&control);
    }
    return false;
}

inline QColor expectedColour(const ColourDefinition &colour)
{
    if (colour.source == ColourDefinition::Source::WindowText)
        return QApplication::palette().color(QPalette::WindowText);
    return colour.fixed;
}

inline bool isDefined(const ColourDefinition &colour)
{
    return colour.source != ColourDefinition::Source::None;
}

inline QImage expectedPicture(DefinedPicture picture, const SkinTemplate &skin)
{
    switch (picture) {
    case DefinedPicture::None: break;
    case DefinedPicture::WrongAnswer: return wrongPicture();
    case DefinedPicture::CorrectAnswer: return correctPicture();
    case DefinedPicture::SetMarker: return markerPicture();
    case DefinedPicture::SkinTemplate: return skin.image().convertToFormat(QImage::Format_RGB32);
    }
    return {};
}

inline void expectFont(const QFont &font, const FontDefinition &defined)
{
    EXPECT_EQ(font.family(), definedText(defined.face));
    EXPECT_EQ(font.pointSizeF(), defined.points);
    EXPECT_EQ(font.bold(), defined.bold);
    EXPECT_EQ(font.underline(), defined.underline);
}

inline void expectWidgetAsDefined(const QWidget &widget, const ControlDefinition &defined, const SkinTemplate &skin)
{
    const auto *box = qobject_cast<const Surface *>(&widget);
    const auto *label = qobject_cast<const QLabel *>(&widget);
    const QImage picture = expectedPicture(defined.picture, skin);

    if (label) {
        EXPECT_EQ(widget.pos(), defined.geometry.topLeft());
        EXPECT_EQ(widget.size(), label->sizeHint()) << "as large as its text";
        EXPECT_EQ(label->text(), definedText(defined.text));
        if (defined.alignment) {
            EXPECT_EQ(label->alignment(), defined.alignment);
        }
        if (isDefined(defined.fore)) {
            EXPECT_EQ(label->palette().color(QPalette::WindowText), expectedColour(defined.fore));
        }
        EXPECT_EQ(label->autoFillBackground(), isDefined(defined.back));
        if (isDefined(defined.back)) {
            EXPECT_EQ(label->palette().color(QPalette::Window), expectedColour(defined.back));
        }
    } else if (defined.sizedToPicture) {
        EXPECT_EQ(widget.geometry(), QRect(defined.geometry.topLeft(), picture.size()));
    } else {
        EXPECT_EQ(widget.geometry(), defined.geometry);
    }

    if (box) {
        if (isDefined(defined.back)) {
            EXPECT_EQ(box->backColor(), expectedColour(defined.back));
        }
        if (isDefined(defined.fore)) {
            EXPECT_EQ(box->foreColor(), expectedColour(defined.fore));
        }
        EXPECT_EQ(box->autoRedraw(), defined.autoRedraw);
        EXPECT_EQ(box->mousePointer(), defined.pointer);
        EXPECT_EQ(box->picture(), picture);
    } else if (defined.pointer == Surface::Pointer::Custom) {
        EXPECT_EQ(widget.cursor().shape(), Qt::PointingHandCursor);
    }

    if (const auto *button = qobject_cast<const QPushButton *>(&widget)) {
        EXPECT_EQ(button->text(), definedText(defined.text));
    }
    if (const auto *combo = qobject_cast<const QComboBox *>(&widget)) {
        EXPECT_FALSE(combo->isEditable());
        ASSERT_EQ(combo->count(), static_cast<int>(defined.items.size()));
        for (int i = 0; i < combo->count(); ++i) {
            EXPECT_EQ(combo->itemText(i), definedText(defined.items[i]));
        }
        EXPECT_EQ(combo->currentIndex(), -1) << "nothing chosen before the load";
    }

    if (defined.font) {
        expectFont(widget.font(), *defined.font);
        EXPECT_TRUE(widget.testAttribute(Qt::WA_SetFont)) << "a font of its own, kept when the parent's changes";
    }
    if (defined.focusPolicy) {
        EXPECT_EQ(widget.focusPolicy(), *defined.focusPolicy);
    }
    EXPECT_EQ(widget.isHidden(), !defined.visible);
}

// `window` has just been made: not loaded, not painted.
inline void expectBuiltAsDefined(const Surface &window, const WindowDefinition &definition, const SkinTemplate &skin)
{
    EXPECT_EQ(window.size(), definition.designSize);
    EXPECT_EQ(window.windowTitle(), definedText(definition.title));
    EXPECT_EQ(window.backColor(), definition.back);
    expectFont(window.font(), definition.font);

    for (const ControlDefinition &defined : definition.controls) {
        SCOPED_TRACE(std::string(defined.objectName));
        const QList<QObject *> found = window.findChildren<QObject *>(definedText(defined.objectName));
        ASSERT_EQ(found.size(), 1) << "one control of that name";
        const QObject &control = *found.front();
        const QObject *parent = defined.parent.empty() ? &window : window.findChild<QObject *>(definedText(defined.parent));
        EXPECT_EQ(control.parent(), parent);
        ASSERT_TRUE(isOfKind(control, defined.kind));

        if (const auto *timer = qobject_cast<const QTimer *>(&control)) {
            EXPECT_EQ(timer->interval(), defined.interval);
            EXPECT_EQ(timer->timerType(), defined.timerType);
            EXPECT_FALSE(timer->isActive());
        } else {
            expectWidgetAsDefined(static_cast<const QWidget &>(control), defined, skin);
        }
    }

    // Made in definition order: each parent holds its defined children in
    // that order (which also decides which of them lies on top).
    for (const ControlDefinition &defined : definition.controls) {
        const QObject *parent = defined.parent.empty() ? &window : window.findChild<QObject *>(definedText(defined.parent));
        QStringList expected;
        for (const ControlDefinition &sibling : definition.controls)
            if (sibling.parent == defined.parent)
                expected.append(definedText(sibling.objectName));
        QStringList made;
        for (const QObject *child : parent->children())
            if (expected.contains(child->objectName()))
                made.append(child->objectName());
        EXPECT_EQ(made.join(u' ').toStdString(), expected.join(u' ').toStdString())
            << "children of " << parent->objectName().toStdString();
    }

    // Tab walks the named controls in the defined order, round and round.
    // Qt chains only controls that take the focus by Tab; it leaves the
    // others where they are.
    QStringList tabOrder;
    const QWidget *first = nullptr;
    for (std::string_view name : definition.tabOrder) {
        const auto *control = window.findChild<const QWidget *>(definedText(name));
        if (control && (control->focusPolicy() & Qt::TabFocus)) {
            tabOrder.append(control->objectName());
            first = first ? first : control;
        }
    }
    QStringList chain;
    for (const QWidget *w = first; w; w = w->nextInFocusChain() == first ? nullptr : w->nextInFocusChain()) {
        if (tabOrder.contains(w->objectName()))
            chain.append(w->objectName());
    }
    EXPECT_EQ(chain.join(u' ').toStdString(), tabOrder.join(u' ').toStdString());
}

} // namespace vk::test
