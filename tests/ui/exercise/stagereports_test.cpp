// What the exercise window tells a training log: one report per stage,
// with the verdict, the digits matched, the time used and the problem,
// whether the stage is evaluated or left.
#include "exercisetestsupport.h"
#include "support/fakes.h"

#include "platform/screenmetrics.h"
#include "platform/wallclock.h"
#include "skin/appcontext.h"
#include "skin/skintemplate.h"
#include "stage/stage.h"
#include "ui/exercise/exercisewindow.h"

#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace vk {
namespace {

using test::buttonWithText;
using test::FakeDayClock;
using test::FakeMainWindow;
using test::ScriptedRandom;
using test::whenBoxOpens;

class RecordingSink final : public StageReportSink
{
public:
    void stageEnded(const StageReport &report) override { reports.append(report); }
    QList<StageReport> reports;
};

class FixedWallClock final : public WallClock
{
public:
    QDateTime nowUtc() const override { return now; }
    QDateTime now;
};

QString reversed(QString text)
{
    std::reverse(text.begin(), text.end());
    return text;
}

const QDateTime kStartedAt(QDate(2026, 12, 10), QTime(13, 14, 15, 160), Qt::UTC);

class StageReportTest : public test::ExerciseWindowFixture
{
protected:
    void prepareContext(AppContext &context) override
    {
        context.stageReports = &sink;
        context.wallClock = &wallClock;
        wallClock.now = kStartedAt;
    }

    ExerciseWindow *start(bool clockOn = true, int factorDigits = 20)
    {
        ctx->run.factorDigits = factorDigits;
        ExerciseWindow *w = showExercise(clockOn, {1024, 743});
        // The wall clock moves on after the start: the report keeps the start.
        wallClock.now = kStartedAt.addSecs(3600);
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w));
        return w;
    }

    // Keys as the user types them: from the units digit leftwards, a space
    // stepping over a cell with Left.
    static void typeFromTheRight(ExerciseWindow *w, const QString &digits)
    {
        for (const QChar digit : digits) {
            if (digit == u' ')
                QTest::keyClick(w->answerGrid().editor(), Qt::Key_Left);
            else
                QTest::keyClick(w->answerGrid().editor(), digit.toLatin1());
        }
    }

    // Enter, then Yes in the question.
    static void finishWithEnter(ExerciseWindow *w)
    {
        whenBoxOpens(w, [](QMessageBox &box) { buttonWithText(box, QStringLiteral("Yes"))->click(); });
        ASSERT_TRUE(w->answerGrid().isEditing());
        QTest::keyClick(w->answerGrid().editor(), Qt::Key_Return);
    }

    static QString attribute(ExerciseWindow *w, const QString &name) { return problemElement(w->stage()).attribute(name); }

    RecordingSink sink;
    FixedWallClock wallClock;
};

// Finished with Enter and Yes: the answer as typed, compared digit by digit.
struct FinishCase {
    const char *name;
    bool clockOn;
    int factorDigits;
    // The keys typed, given the product.
    std::function<QString(const QString &product)> keys;
    StageVerdict verdict;
    // Digits matched, given the product's length.
    std::function<int(int length)> matched;
    // The columns matched, most significant first, given the product's length.
    std::function<QString(int length)> columns;
};

QString allMatched(int length) { return QString(length, u'1'); }
QString noneMatched(int length) { return QString(length, u'0'); }
QString allButTheUnits(int length) { return QString(length - 1, u'1') + u'0'; }

// The product's digits typed from the units leftwards, the units digit wrong.
QString unitsWrong(const QString &product)
{
    QString keys = reversed(product);
    keys[0] = keys[0] == u'9' ? u'0' : QChar(keys[0].unicode() + 1);
    return keys;
}

class FinishedStageReports : public StageReportTest, public ::testing::WithParamInterface<FinishCase>
{};

TEST_P(FinishedStageReports, oneReportWithTheVerdictAndTheDigitsMatched)
{
    const FinishCase &c = GetParam();
    ExerciseWindow *w = start(c.clockOn, c.factorDigits);
    const QString product = w->stage().correctProduct;
    const QString factor1 = attribute(w, doc::kFactor1);
    const QString factor2 = attribute(w, doc::kFactor2);
    typeFromTheRight(w, c.keys(product));
    clock.advance(65.25f);
    finishWithEnter(w);
    ASSERT_FALSE(w->stage().stageRunning) << "the stage was evaluated";

    ASSERT_EQ(sink.reports.size(), 1);
    const StageReport &r = sink.reports[0];
    EXPECT_EQ(r.verdict, c.verdict);
    EXPECT_EQ(r.digitsMatched, c.matched(static_cast<int>(product.size())));
    EXPECT_EQ(r.answer, reversed(c.keys(product)).trimmed());
    EXPECT_EQ(r.product, product);
    EXPECT_EQ(r.factor1, factor1);
    EXPECT_EQ(r.factor2, factor2);
    EXPECT_EQ(r.factor1.size(), c.factorDigits);
    EXPECT_EQ(r.factorDigits, c.factorDigits);
    EXPECT_EQ(r.matchedColumns, c.columns(static_cast<int>(product.size())));
    EXPECT_EQ(r.secondsUsed, 65.25);
    EXPECT_EQ(r.clockShown, c.clockOn);
    EXPECT_EQ(r.startedUtc, kStartedAt);

    // BACK afterwards reports nothing more.
    test::moveOver(&w->backButtonBox(), {75, 25});
    test::click(&w->backButtonBox(), {75, 25});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(sink.reports.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    , FinishedStageReports,
    ::testing::Values(
        FinishCase{"correct", true, 20, [](const QString &p) { return reversed(p); }, StageVerdict::Correct,
                   [](int length) { return length; }, allMatched},
        FinishCase{"correctWithTheClockHidden", false, 20, [](const QString &p) { return reversed(p); },
                   StageVerdict::Correct, [](int length) { return length; }, allMatched},
        // Every digit but the units digit right.
        FinishCase{"wrongInOneDigit", true, 20, unitsWrong, StageVerdict::Wrong, [](int length) { return length - 1; },
                   allButTheUnits},
        FinishCase{"empty", true, 20, [](const QString &) { return QString(); }, StageVerdict::Wrong,
                   [](int) { return 0; }, noneMatched},
        // Shorter factors: the length and the product's own columns.
        FinishCase{"correctAt8Digits", true, 8, [](const QString &p) { return reversed(p); }, StageVerdict::Correct,
                   [](int length) { return length; }, allMatched},
        FinishCase{"wrongInOneDigitAt2Digits", true, 2, unitsWrong, StageVerdict::Wrong,
                   [](int length) { return length - 1; }, allButTheUnits},
        // Only the leading digit typed, in its own column: the stored answer
        // is that one digit, the columns say where it matched.
        FinishCase{"leadingDigitOnlyAt8Digits", true, 8,
                   [](const QString &p) { return QString(p.size() - 1, u' ') + p.front(); },
                   StageVerdict::Wrong, [](int) { return 1; },
                   [](int length) { return u'1' + QString(length - 1, u'0'); }}),
    [](const ::testing::TestParamInfo<FinishCase> &info) { return std::string(info.param.name); });

// Left before the evaluation, each way a stage can be left: one "left"
// report with the answer so far and the clock's reading at leaving.
struct LeaveCase {
    const char *name;
    std::function<void(StageReportTest &, FakeMainWindow *&, ExerciseWindow *)> leave;
};

class LeftStageReports : public StageReportTest, public ::testing::WithParamInterface<LeaveCase>
{
public:
    AppContext &context() { return *ctx; }
};

TEST_P(LeftStageReports, oneLeftReportWithTheReadingAtLeaving)
{
    ExerciseWindow *w = start();
    typeFromTheRight(w, QStringLiteral("123"));
    clock.advance(42.5f);
    const QPointer<ExerciseWindow> guard(w);
    GetParam().leave(*this, main, w);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(guard) << "the stage's window is gone";

    ASSERT_EQ(sink.reports.size(), 1);
    const StageReport &r = sink.reports[0];
    EXPECT_EQ(r.verdict, StageVerdict::Left);
    EXPECT_EQ(r.answer, QStringLiteral("321"));
    EXPECT_EQ(r.digitsMatched, 0) << "a stage left is not evaluated";
    EXPECT_TRUE(r.matchedColumns.isEmpty());
    EXPECT_EQ(r.factorDigits, 20);
    EXPECT_EQ(r.secondsUsed, 42.5);
    EXPECT_EQ(r.startedUtc, kStartedAt);
    EXPECT_EQ(r.product.size() >= 39, true);
}

INSTANTIATE_TEST_SUITE_P(
    , LeftStageReports,
    ::testing::Values(
        LeaveCase{"back",
                  [](StageReportTest &, FakeMainWindow *&, ExerciseWindow *w) {
                      test::moveOver(&w->backButtonBox(), {75, 25});
                      test::click(&w->backButtonBox(), {75, 25});
                  }},
        // The window manager's close (Alt+F4, a panel's close) goes to the
        // main window, the stage inside it.
        LeaveCase{"closedByTheWindowManager",
                  [](StageReportTest &, FakeMainWindow *&main, ExerciseWindow *) {
                      main->windowHandle()->close();
                      main = nullptr;
                  }},
        LeaveCase{"programClosed",
                  [](StageReportTest &t, FakeMainWindow *&main, ExerciseWindow *) {
                      static_cast<LeftStageReports &>(t).context().windows.unload(main);
                      main = nullptr;
                  }},
        // The program closed while the question is open: left, not evaluated.
        LeaveCase{"programClosedDuringTheQuestion",
                  [](StageReportTest &t, FakeMainWindow *&main, ExerciseWindow *w) {
                      AppContext &ctx = static_cast<LeftStageReports &>(t).context();
                      FakeMainWindow *closing = main;
                      main = nullptr;
                      whenBoxOpens(w, [&ctx, closing](QMessageBox &) { ctx.windows.unload(closing); });
                      QTest::keyClick(w->answerGrid().editor(), Qt::Key_Return);
                      QCoreApplication::sendPostedEvents();
                  }},
        // The window deleted without its unload, as the program's own end does.
        LeaveCase{"deletedAtTheProgramsEnd",
                  [](StageReportTest &, FakeMainWindow *&, ExerciseWindow *w) { delete w; }}),
    [](const ::testing::TestParamInfo<LeaveCase> &info) { return std::string(info.param.name); });

TEST_F(StageReportTest, theLimitReportsTheStageOnceAtNineHundredSeconds)
{
    ExerciseWindow *w = start(false);
    typeFromTheRight(w, QStringLiteral("5"));
    clock.advance(900.0f);
    QTRY_VERIFY_WITH_TIMEOUT(!w->stage().stageRunning, 2000);
    ASSERT_EQ(sink.reports.size(), 1);
    EXPECT_EQ(sink.reports[0].verdict, StageVerdict::Wrong);
    EXPECT_EQ(sink.reports[0].secondsUsed, 900.0);
    EXPECT_FALSE(sink.reports[0].clockShown);
    // More ticks, another finish, BACK: still one report.
    clock.advance(5.0f);
    QTest::qWait(50);
    w->finishStage();
    w->backClicked();
    test::moveOver(&w->backButtonBox(), {75, 25});
    test::click(&w->backButtonBox(), {75, 25});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(sink.reports.size(), 1);
}

// Each START is a stage of its own, reported on its own.
TEST_F(StageReportTest, everyStageIsReportedOnce)
{
    for (int i = 0; i < 3; ++i) {
        ExerciseWindow *w = start();
        typeFromTheRight(w, QString::number(i + 1));
        if (i == 1) {
            finishWithEnter(w);
        }
        test::moveOver(&w->backButtonBox(), {75, 25});
        test::click(&w->backButtonBox(), {75, 25});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        wallClock.now = kStartedAt;
    }
    ASSERT_EQ(sink.reports.size(), 3);
    EXPECT_EQ(sink.reports[0].verdict, StageVerdict::Left);
    EXPECT_EQ(sink.reports[1].verdict, StageVerdict::Wrong);
    EXPECT_EQ(sink.reports[2].verdict, StageVerdict::Left);
    EXPECT_EQ(sink.reports[2].answer, QStringLiteral("3"));
}

} // namespace
} // namespace vk
