#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <map>

namespace vk {

class Form;

// Each window of the program exists at most once. Referring to a window
// that is not loaded creates it and runs its load; unloading destroys it
// with everything it holds, timers included.
class WindowRegistry : public QObject
{
    Q_OBJECT
public:
    using Factory = std::function<Form *()>;

    void define(const QString &name, Factory factory);

    // The window, created and loaded first when it is not loaded.
    Form *get(const QString &name);
    template<class T>
    T *get(const QString &name)
    {
        return static_cast<T *>(get(name));
    }

    // The window if it is loaded, else null; never creates.
    Form *find(const QString &name) const;
    template<class T>
    T *find(const QString &name) const
    {
        return static_cast<T *>(find(name));
    }

    bool isLoaded(const QString &name) const { return find(name) != nullptr; }

    // The loaded windows in the order they were loaded.
    QList<Form *> loaded() const;

    void unload(const QString &name);
    void unload(Form *form);

signals:
    void windowUnloaded(const QString &name);
    void allUnloaded();

private:
    void forget(const QObject *gone);
    static Form *form(const QPointer<QObject> &p);

    std::map<QString, Factory> m_factories;
    // Held as QObject: a window being destroyed is no longer a Form by the
    // time it says so, and must not be looked at as one.
    QList<QPair<QString, QPointer<QObject>>> m_loaded;
};

} // namespace vk
