#pragma once

#include "traininglog/logwriter.h"

#include <QObject>
#include <QString>

#include <mutex>

namespace vk {

// What the start screen says of the training log, in one sentence.
struct LogStatusText {
    QString text;
    bool problem = false; // the log is off, or stages wait for it
};

LogStatusText describeLogStatus(const LogStatus &status);

// Carries the training log writer's status from its thread to the windows:
// post() may be called on any thread, changed() is emitted on the thread
// this object lives on, and line() always has the latest.
class LogStatusRelay : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    void post(const LogStatus &status);
    LogStatusText line() const;

signals:
    void changed();

private:
    mutable std::mutex m_mutex;
    LogStatusText m_line{QStringLiteral("Training log on."), false};
};

} // namespace vk
