#include "shell/logstatusrelay.h"

#include <QMetaObject>

namespace vk {
namespace {

QString stagesText(int count)
{
    return count == 1 ? QStringLiteral("1 stage") : QStringLiteral("%1 stages").arg(count);
}

} // namespace

LogStatusText describeLogStatus(const LogStatus &status)
{
    switch (status.state) {
    case LogStatus::State::Opening:
        return {QStringLiteral("Training log on."), false};
    case LogStatus::State::On:
        return {QStringLiteral("Training log on: %1 kept.").arg(stagesText(status.stagesHeld)), false};
    case LogStatus::State::Waiting:
        if (status.queued == 0)
            return {QStringLiteral("Training log on, waiting for the log: %1").arg(status.problem), true};
        return {QStringLiteral("Training log on: %1 %2 to be written once the log is free. %3")
                    .arg(stagesText(status.queued), status.queued == 1 ? QStringLiteral("waits") : QStringLiteral("wait"),
                         status.problem),
                true};
    case LogStatus::State::Off:
        return {QStringLiteral("The training log is off: %1").arg(status.problem), true};
    }
    return {};
}

void LogStatusRelay::post(const LogStatus &status)
{
    {
        const std::lock_guard lock(m_mutex);
        m_line = describeLogStatus(status);
    }
    QMetaObject::invokeMethod(this, &LogStatusRelay::changed, Qt::QueuedConnection);
}

LogStatusText LogStatusRelay::line() const
{
    const std::lock_guard lock(m_mutex);
    return m_line;
}

} // namespace vk
