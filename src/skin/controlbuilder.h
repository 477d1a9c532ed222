#pragma once

#include "skin/windowdefinitions.h"

#include <QList>
#include <QString>

#include <functional>
#include <string_view>

class QObject;
class QWidget;

namespace vk {

class SkinTemplate;
class Surface;

// Makes a control of a kind the skin cannot make itself (the answer grid)
// on `parent`; the builder names, places and styles it like the others.
using ControlMaker = std::function<QWidget *(const ControlDefinition &definition, QWidget *parent)>;

// The controls one window definition was built into.
class BuiltControls
{
public:
    void add(QObject *control) { m_controls.append(control); }

    // The control of that name, as a T. A name that was not built, or a
    // control of another type, is a mistake in the window's code: the
    // program stops.
    template <class T>
    T *get(std::string_view objectName) const
    {
        auto *control = dynamic_cast<T *>(find(objectName));
        if (!control)
            notBuilt(objectName);
        return control;
    }

private:
    QObject *find(std::string_view objectName) const;
    [[noreturn]] static void notBuilt(std::string_view objectName);

    QList<QObject *> m_controls;
};

// The window's own colour, font, title (where it has one) and design size.
void applyWindowDefinition(Surface &window, const WindowDefinition &definition);

// Every control of `definition` on `window`, in definition order, then
// the tab order chained.
BuiltControls buildControls(Surface &window, const WindowDefinition &definition, const SkinTemplate &skin,
                            const ControlMaker &makeOther = {});

// A further picture box made as `definition` says but under another name
// and in another place: the elements of a control array after the first.
Surface *buildPictureBoxCopy(const ControlDefinition &definition, QWidget *parent, const SkinTemplate &skin,
                             const QString &objectName, const QRect &geometry);

} // namespace vk
