#pragma once

#include "platform/screenmetrics.h"
#include "shell/application.h"
#include "skin/skintemplate.h"
#include "support/fakes.h"

#include <QStringList>

#include <memory>

namespace vk::test {

// A program run on a screen of the test's choosing, with a fixed clock and
// chance, whose messages are recorded instead of shown.
struct TestApp {
    explicit TestApp(QRect screen, QRect workArea = {})
    {
        Application::Parts parts;
        auto fixedScreen = std::make_unique<FixedScreenMetrics>(screen, workArea);
        this->screen = fixedScreen.get();
        parts.screen = std::move(fixedScreen);
        parts.clock = std::make_unique<FakeDayClock>(36000.0f);
        parts.random = std::make_unique<ScriptedRandom>(std::vector<double>{0.11, 0.52, 0.93, 0.34, 0.75, 0.06});
        parts.messages = [this](const QString &text) { messages.append(text); };
        app = std::make_unique<Application>(std::move(parts));
    }

    QStringList messages;
    FixedScreenMetrics *screen = nullptr; // owned by the application
    std::unique_ptr<Application> app;
};

} // namespace vk::test
