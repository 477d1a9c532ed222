// The exercise window as it is built, laid out and painted.
#include "exercisetestsupport.h"
#include "support/builtasdefined.h"
#include "support/fakes.h"

#include "flow/stageclock.h"
#include "grid/flexgrid.h"
#include "msgbox/timedmessagebox.h"
#include "platform/screenmetrics.h"
#include "skin/appcontext.h"
#include "ui/exercise/exercisewindow.h"
#include "skin/skintemplate.h"
#include "skin/templatemap.h"
#include "sheet/sheetlayout.h"
#include "skin/windowdefinitions.h"
#include "stage/evaluation.h"
#include "ui/exercise/drawnbutton.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>


namespace vk {
namespace {

using test::ExerciseWindowTest;
using test::FakeDayClock;
using test::ScriptedRandom;

TEST_F(ExerciseWindowTest, aNewWindowIsAsDefinedWithTheStageLoadedAndNothingTicking)
{
    ctx->run.timerEnabled = true;
    auto *w = ctx->windows.get<ExerciseWindow>(kExerciseWindowName);
    ASSERT_NE(w, nullptr);

    for (QWidget *hidden : {static_cast<QWidget *>(&w->resultPanel()), static_cast<QWidget *>(&w->correctPictureBox()),
                            static_cast<QWidget *>(&w->wrongPictureBox()), static_cast<QWidget *>(&w->markerPictureBox())})
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
    for (QWidget *shown : {static_cast<QWidget *>(&w->finishButtonBox()), static_cast<QWidget *>(&w->backButtonBox()),
                           static_cast<QWidget *>(&w->clockDisplay()), static_cast<QWidget *>(&w->sheetPanel())})
        EXPECT_FALSE(shown->isHidden()) << shown->objectName().toStdString();
    EXPECT_FALSE(w->clockTimer().isActive());
    EXPECT_FALSE(w->answerTimer().isActive());
    EXPECT_EQ(w->clockTimer().interval(), 10);
    EXPECT_EQ(w->clockTimer().timerType(), Qt::PreciseTimer);
    EXPECT_EQ(w->answerTimer().objectName(), QStringLiteral("answerTimer"));

    EXPECT_EQ(w->backColor(), QColor(197, 214, 237));
    EXPECT_EQ(w->sheetPanel().backColor(), QColor(197, 214, 237));
    EXPECT_EQ(w->clockDisplay().backColor(), QColor(215, 229, 248));
    EXPECT_TRUE(w->clockDisplay().autoRedraw());
    EXPECT_TRUE(w->resultPanel().autoRedraw());
    EXPECT_EQ(w->backButtonBox().font().pointSizeF(), 12.75);
    EXPECT_TRUE(w->finishButtonBox().font().bold());
    EXPECT_EQ(w->font().pointSizeF(), 8.25);

    ASSERT_EQ(w->markerCount(), 20);
    for (int i = 0; i < w->markerCount(); ++i) {
        const Surface &m = w->markerBox(i);
        EXPECT_EQ(m.parentWidget(), &w->sheetPanel());
        EXPECT_FALSE(m.isHidden());
        EXPECT_EQ(m.backColor(), QColor(229, 249, 128));
        EXPECT_EQ(m.mousePointer(), Surface::Pointer::Custom);
        EXPECT_FALSE(m.hasPicture());
    }
    EXPECT_EQ(w->answerGrid().parentWidget(), &w->sheetPanel());
    EXPECT_TRUE(w->markerPictureBox().hasPicture());

    const StageRecord &s = w->stage();
    EXPECT_TRUE(s.firstActivation);
    EXPECT_TRUE(s.stageRunning);
    EXPECT_EQ(s.timeLimit, 900);
    EXPECT_EQ(s.backState, 0);
    EXPECT_EQ(s.finishState, 0);
    EXPECT_EQ(s.sheetWidth, 894);
    EXPECT_EQ(s.sheetHeight, 180);
    EXPECT_EQ(random.reseeds, 1);
    EXPECT_EQ(s.stageElement.firstChildElement().tagName(), QStringLiteral("Soru_1"));
    EXPECT_TRUE(w->answerGrid().cellText(1, 40).isEmpty()) << "the sheet is filled at the first activation";
}

// Made from its definition: every control as, where and in the order the
// definition says, and every accessor hands out the control of its name.
// (The clock display's font is the clock's, not the definition's.)
TEST_F(ExerciseWindowTest, aNewWindowIsBuiltAsItsDefinitionSays)
{
    ExerciseWindow w(*ctx);
    test::expectBuiltAsDefined(w, exerciseWindowDefinition(), skin);

    const std::pair<const QObject *, const char *> accessors[] = {
        {&w.wrongPictureBox(), "wrongPictureBox"}, {&w.correctPictureBox(), "correctPictureBox"},
        {&w.resultPanel(), "resultPanel"},         {&w.answerTimer(), "answerTimer"},
        {&w.finishButtonBox(), "finishButtonBox"}, {&w.backButtonBox(), "backButtonBox"},
        {&w.clockTimer(), "clockTimer"},           {&w.clockDisplay(), "clockDisplay"},
        {&w.sheetPanel(), "sheetPanel"},           {&w.markerPictureBox(), "markerPictureBox"},
        {&w.markerBox(0), "markerBox_0"},            {&w.answerGrid(), "answerGrid"},
    };
    for (const auto &[control, name] : accessors)
        EXPECT_EQ(control->objectName(), QLatin1String(name));
    EXPECT_EQ(w.markerCount(), 1) << "the other markers come with the load";
}

TEST_F(ExerciseWindowTest, clockSwitchedOffHidesTheDisplayAtLoad)
{
    ctx->run.timerEnabled = false;
    auto *w = ctx->windows.get<ExerciseWindow>(kExerciseWindowName);
    EXPECT_TRUE(w->clockDisplay().isHidden());
    EXPECT_FALSE(w->stage().clockOn);
}

TEST_F(ExerciseWindowTest, firstActivationFillsTheSheetAndStartsTheClockOnce)
{
    ExerciseWindow *w = start();
    const StageRecord &s = w->stage();
    EXPECT_FALSE(s.firstActivation);
    EXPECT_EQ(s.problemNo, 1);
    EXPECT_EQ(s.startTime, 36000.0f);
    EXPECT_TRUE(w->clockTimer().isActive());
    const QDomElement problem = problemElement(s);
    EXPECT_EQ(w->answerGrid().cellText(1, 21), problem.attribute(doc::kFactor1).left(1));
    EXPECT_EQ(w->answerGrid().cellText(2, 40), problem.attribute(doc::kFactor2).right(1));
    EXPECT_TRUE(w->answerGrid().isEditing());
    EXPECT_EQ(w->answerGrid().col(), 40);

    clock.advance(30.0f);
    emit w->activated();
    EXPECT_EQ(s.startTime, 36000.0f) << "later activations leave the clock alone";
}

TEST_F(ExerciseWindowTest, layoutPlacesTheControlsAndTheMarkersOverTheDigitColumns)
{
    ExerciseWindow *w = start();
    EXPECT_EQ(w->sheetPanel().geometry(), QRect(61, 179, 902, 234));
    EXPECT_EQ(w->resultPanel().geometry(), QRect(437, 443, 150, 150));
    EXPECT_EQ(w->backButtonBox().geometry(), QRect(50, 663, 150, 50));
    EXPECT_EQ(w->finishButtonBox().geometry(), QRect(824, 663, 150, 50));
    EXPECT_EQ(w->clockDisplay().geometry(), QRect(621, 0, 162, 81));
    EXPECT_EQ(w->answerGrid().geometry(), QRect(4, 50, 894, 180));
    for (int i = 0; i < 20; ++i) {
        const QRect cell = w->answerGrid().cellRect(1, 40 - i).translated(w->answerGrid().viewport()->pos() + w->answerGrid().pos());
        EXPECT_EQ(w->markerBox(i).geometry().center().x(), cell.center().x()) << "marker " << i;
        EXPECT_EQ(w->markerBox(i).size(), QSize(20, 32));
    }
    // The window's image carries the skin; the sheet panel is framed.
    EXPECT_EQ(test::sourceAt(w->keptImage(), 0, 0), QPoint(195, 122));
    EXPECT_EQ(test::sourceAt(w->keptImage(), 57, 175), skin::kFrameTopLeft.topLeft());
}

// A stage of shorter factors has one marker over each factor column
// (marker i over column 40 - i) and none beyond them; a click on the
// leftmost marks its column. The sheet and the window stand as at 20.
TEST_F(ExerciseWindowTest, aShorterStageHasOneMarkerOverEachFactorColumn)
{
    for (const int digits : {2, 8, 19}) {
        SCOPED_TRACE(digits);
        ctx->run.factorDigits = digits;
        ExerciseWindow *w = start();
        EXPECT_EQ(w->stage().factorDigits, digits);
        ASSERT_EQ(w->markerCount(), digits);
        EXPECT_EQ(w->sheetPanel().findChildren<Surface *>(QRegularExpression(QStringLiteral("^markerBox_"))).size(), digits)
            << "no marker made beyond the factor columns";
        const QPoint gridAt = w->answerGrid().viewport()->pos() + w->answerGrid().pos();
        for (int i = 0; i < digits; ++i) {
            EXPECT_EQ(w->markerBox(i).geometry().center().x(), w->answerGrid().cellRect(1, 40 - i).translated(gridAt).center().x())
                << "marker " << i;
            EXPECT_TRUE(w->markerBox(i).isVisible()) << "marker " << i;
        }
        EXPECT_EQ(w->sheetPanel().geometry(), QRect(61, 179, 902, 234));
        EXPECT_EQ(w->answerGrid().geometry(), QRect(4, 50, 894, 180));

        test::click(&w->markerBox(digits - 1), {10, 10});
        EXPECT_TRUE(w->markerBox(digits - 1).hasPicture());
        EXPECT_EQ(w->answerGrid().cellBackgroundColour(1, 41 - digits), sheet::kCursorBack);

        ctx->windows.unload(w);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// The stage stands inside the main window: minimised with it, a resize
// lays nothing out; restoring the main window lays the stage out again.
TEST_F(ExerciseWindowTest, resizeWhileMinimisedLaysNothingOutAndRestoringDoes)
{
    ExerciseWindow *w = start();
    main->setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(w->isMinimizedState());
    w->resize(1280, 775);
    emit w->resized();
    EXPECT_EQ(w->finishButtonBox().pos(), QPoint(824, 663)) << "nothing laid out while minimised";
    main->setWindowState(Qt::WindowNoState);
    ASSERT_FALSE(w->isMinimizedState());
    EXPECT_EQ(w->finishButtonBox().pos(), QPoint(1280 - 200, 775 - 80));
}

// What a user sees of the stage's controls, written out here rather than
// taken from the window's definition: a mistake in the definition shows as
// a difference.
TEST_F(ExerciseWindowTest, showsTheColoursAndFontsAUserSees)
{
    ExerciseWindow *w = start();
    const auto expectFont = [](const QWidget &widget, const char *family, double points, bool bold) {
        SCOPED_TRACE(widget.objectName().toStdString());
        EXPECT_EQ(widget.font().family(), QLatin1String(family));
        EXPECT_DOUBLE_EQ(widget.font().pointSizeF(), points);
        EXPECT_EQ(widget.font().bold(), bold);
    };
    EXPECT_EQ(w->resultPanel().backColor(), QColor(255, 192, 255)) << "the result panel's pink";
    EXPECT_EQ(w->clockDisplay().backColor(), QColor(215, 229, 248));
    EXPECT_EQ(w->sheetPanel().backColor(), QColor(197, 214, 237));
    EXPECT_EQ(w->markerBox(0).backColor(), QColor(229, 249, 128));
    expectFont(w->sheetPanel(), "Verdana", 12.75, true);
    expectFont(w->backButtonBox(), "Tahoma", 12.75, true);
    expectFont(w->finishButtonBox(), "Tahoma", 12.75, true);
    expectFont(w->clockDisplay(), "Tahoma", 36, true);
    EXPECT_EQ(w->markerBox(0).mousePointer(), Surface::Pointer::Custom) << "the hand over a marker";
    // The pictures a user sees after the finish and on a set marker.
    EXPECT_EQ(w->correctPictureBox().picture().deviceIndependentSize(), QSizeF(150, 150));
    EXPECT_EQ(w->wrongPictureBox().picture().deviceIndependentSize(), QSizeF(150, 150));
    EXPECT_EQ(w->markerPictureBox().picture().deviceIndependentSize(), QSizeF(20, 32));
}

TEST(ExerciseWindowLook, rendersWithTheRealSkin)
{
    const SkinTemplate skin;
    ASSERT_FALSE(skin.isNull()) << "the template is built into the program";
    FakeDayClock clock(36000.0f);
    ScriptedRandom random({0.95, 0.31, 0.77, 0.12, 0.58});
    FixedScreenMetrics screen(QRect(0, 0, 1280, 800));
    AppContext ctx(skin, clock, random, screen);
    ctx.windows.define(kExerciseWindowName, [&ctx] { return new ExerciseWindow(ctx); });
    auto *w = ctx.windows.get<ExerciseWindow>(kExerciseWindowName);
    w->setGeometry(0, 25, 1280, 775);
    w->show();
    if (w->stage().firstActivation)
        emit w->activated();
    clock.advance(83.0f);
    // The next tick draws the reading; on a busy machine it may take a while.
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->stageClock().lastClockText() == QStringLiteral("01:23"); }, 5000));
    test::click(&w->markerBox(2), {10, 10});
    QImage shot = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // The body in the window's colour, the sheet panel's frame from the template.
    EXPECT_EQ(shot.pixel(30, 400) & 0xFFFFFF, qRgb(197, 214, 237) & 0xFFFFFF);
    EXPECT_EQ(shot.pixel(w->sheetPanel().x() - 4, w->sheetPanel().y() + 100),
              skin.image().pixel(skin::kFrameLeft.topLeft()));
    EXPECT_EQ(shot.pixel(5, 5), skin.image().pixel(195 + 5, 122 + 5)) << "the header's left block";

    // 83 seconds of clock: the display shows 01:23, as drawn into it.
    EXPECT_EQ(w->stageClock().lastClockText(), QStringLiteral("01:23"));
    const QRect clockArea = w->clockDisplay().geometry();
    EXPECT_EQ(shot.copy(clockArea), w->clockDisplay().keptImage().convertToFormat(QImage::Format_RGB32));
    EXPECT_GT(test::countColour(shot, qRgb(11, 3, 103), clockArea), 50) << "the dark blue reading";

    // Marker 2 shows the guide picture; the factor cells of column 38 are lit.
    ASSERT_TRUE(w->markerBox(2).hasPicture());
    const QImage guide = w->markerPictureBox().picture().convertToFormat(QImage::Format_RGB32);
    const QRect marker(w->markerBox(2).mapTo(w, QPoint(0, 0)), w->markerBox(2).size());
    const QRect shown = QRect(marker.topLeft(), guide.size()).intersected(marker);
    EXPECT_EQ(shot.copy(shown), guide.copy(0, 0, shown.width(), shown.height()));
    for (int row : {1, 2}) {
        const QRect cell = w->answerGrid().cellRect(row, 38);
        const QPoint corner = w->answerGrid().viewport()->mapTo(w, cell.topLeft() + QPoint(2, 2));
        EXPECT_EQ(shot.pixel(corner) & 0xFFFFFF, qRgb(215, 229, 248) & 0xFFFFFF) << "row " << row;
        const QPoint unmarked = w->answerGrid().viewport()->mapTo(w, w->answerGrid().cellRect(row, 37).topLeft() + QPoint(2, 2));
        EXPECT_NE(shot.pixel(unmarked) & 0xFFFFFF, qRgb(215, 229, 248) & 0xFFFFFF) << "row " << row;
    }
    if (const QByteArray dir = qgetenv("VK_RENDER_DIR"); !dir.isEmpty()) {
        shot.save(QString::fromLocal8Bit(dir) + QStringLiteral("/exercise-running.png"));
        w->answerGrid().setCellText(5, 40, QStringLiteral("7"));
        w->finishStage();
        w->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/exercise-finished.png"));
    }
    ctx.windows.unload(w);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace
} // namespace vk
