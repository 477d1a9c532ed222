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
    m_loaded.append({name, QPointer<Form>(form)});
    connect(form, &QObject::destroyed, this, [this, name] { forget(name); });
    form->load();
    return form;
}

Form *WindowRegistry::find(const QString &name) const
{
    for (const auto &entry : m_loaded)
        if (entry.first == name && entry.second)
            return entry.second.data();
    return nullptr;
}

QList<Form *> WindowRegistry::loaded() const
{
    QList<Form *> forms;
    for (const auto &entry : m_loaded)
        if (entry.second)
            forms.append(entry.second.data());
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
        if (m_loaded[i].second == form)
            m_loaded.removeAt(i--);
    form->disconnect(this);
    form->hide();
    form->close();
    form->deleteLater();
    emit windowUnloaded(name);
    if (loaded().isEmpty())
        emit allUnloaded();
}

void WindowRegistry::forget(const QString &name)
{
    for (qsizetype i = 0; i < m_loaded.size(); ++i)
        if (m_loaded[i].first == name && !m_loaded[i].second)
            m_loaded.removeAt(i--);
}

} // namespace vk
