#include "platform/windowregistry.h"

#include "platform/form.h"

namespace vk {

void WindowRegistry::define(const QString &name, Factory factory)
{
    m_factories[name] = std::move(factory);
}

Form *WindowRegistry::get(const QString &name)
{
    if (Form *form = find(name))
        return form;
    const auto it = m_factories.find(name);
    if (it == m_factories.end())
        return nullptr;
    Form *form = it->second();
    m_loaded.append({name, QPointer<QObject>(form)});
    connect(form, &QObject::destroyed, this, [this](QObject *gone) { forget(gone); });
    form->load();
    return form;
}

Form *WindowRegistry::find(const QString &name) const
{
    for (const auto &entry : m_loaded)
        if (entry.first == name)
            if (Form *f = form(entry.second))
                return f;
    return nullptr;
}

QList<Form *> WindowRegistry::loaded() const
{
    QList<Form *> forms;
    for (const auto &entry : m_loaded)
        if (Form *f = form(entry.second))
            forms.append(f);
    return forms;
}

void WindowRegistry::unload(const QString &name)
{
    unload(find(name));
}

void WindowRegistry::unload(Form *form)
{
    if (!form)
        return;
    const QString name = form->name();
    // Out of the collection at once: a reference made right after the unload
    // loads a fresh window, as it should.
    for (qsizetype i = 0; i < m_loaded.size(); ++i)
        if (m_loaded[i].second.data() == form)
            m_loaded.removeAt(i--);
    form->disconnect(this);
    form->hide();
    form->closeByProgram();
    form->deleteLater();
    emit windowUnloaded(name);
    if (loaded().isEmpty())
        emit allUnloaded();
}

void WindowRegistry::forget(const QObject *gone)
{
    for (qsizetype i = 0; i < m_loaded.size(); ++i)
        if (m_loaded[i].second.isNull() || m_loaded[i].second.data() == gone)
            m_loaded.removeAt(i--);
}

Form *WindowRegistry::form(const QPointer<QObject> &p)
{
    // Only windows still whole count: one whose destruction has begun has
    // already been forgotten.
    return static_cast<Form *>(p.data());
}

} // namespace vk
