#include "platform/screenmetrics.h"
#include "skin/appcontext.h"
#include "skin/skintemplate.h"
#include "skin/windowdefinitions.h"
#include "support/builtasdefined.h"
#include "support/fakes.h"
#include "ui/main/mainwindow.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <utility>

namespace vk {
namespace {

// Made from its definition: every control as, where and in the order the
// definition says, and every accessor hands out the control of its name.
// The template is smaller than the built-in one: the hidden template box
// takes the size of the template it is given.
TEST(MainWindowDefinition, aNewWindowIsBuiltAsItsDefinitionSays)
{
    QImage image(640, 400, QImage::Format_RGB32);
    image.fill(QColor(12, 34, 56));
    const SkinTemplate skin{image};
    const test::FakeDayClock clock;
    test::ScriptedRandom random{{0.5}};
    const FixedScreenMetrics screen{QRect(0, 0, 1280, 800)};
    AppContext ctx(skin, clock, random, screen);

    MainWindow w(ctx);
    test::expectBuiltAsDefined(w, mainWindowDefinition(), skin);
    EXPECT_EQ(w.skinTemplate().size(), QSize(640, 400));

    const std::pair<const QObject *, const char *> accessors[] = {
        {&w.settingsPanel(), "settingsPanel"}, {&w.startButton(), "startButton"},
        {&w.clockChoice(), "clockChoice"},     {&w.clockChoiceLabel(), "clockChoiceLabel"},
        {&w.controlStrip(), "controlStrip"},   {&w.skinTemplate(), "skinTemplate"},
        {&w.addressLabel(), "addressLabel"},   {&w.addressShadowLabel(), "addressShadowLabel"},
    };
    for (const auto &[control, name] : accessors)
        EXPECT_EQ(control->objectName(), QLatin1String(name));
}

} // namespace
} // namespace vk
