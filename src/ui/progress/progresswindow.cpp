#include "ui/progress/progresswindow.h"

#include "ui/progress/columnmisses.h"
#include "ui/progress/missstrip.h"
#include "ui/progress/playedlengths.h"
#include "ui/progress/progresschart.h"
#include "ui/progress/progressfigures.h"

#include <QChartView>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QShortcut>
#include <QVBoxLayout>

namespace vk {

namespace {

const QColor kProblemColour(0xa0, 0x10, 0x10);

QString orNoneYet(const std::optional<double> &value, int decimals, const QString &unit = {})
{
    if (!value)
        return QStringLiteral("none yet");
    return QString::number(*value, 'f', decimals) + unit;
}

QString stagesText(int stages)
{
    return stages == 1 ? QStringLiteral("1 stage") : QStringLiteral("%1 stages").arg(stages);
}

// How a factor length reads in the choice and in the line that names it.
QString lengthText(const PlayedLength &length)
{
    return QStringLiteral("%1 digits (%2)").arg(length.factorDigits).arg(stagesText(length.stages));
}

QLabel *figureLabel(const char *name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QWidget *makeFigures(const ProgressFigures &figures, QWidget *parent)
{
    auto *box = new QWidget(parent);
    box->setObjectName(QLatin1String(progress::kFigures));
    QFont font = box->font();
    font.setPointSizeF(font.pointSizeF() * 1.15);
    box->setFont(font);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(12, 4, 12, 4);
    grid->setHorizontalSpacing(48);
    grid->setVerticalSpacing(6);

    using namespace progress;
    // Counts on the left, times and means on the right.
    grid->addWidget(figureLabel(kStagesFigure, QStringLiteral("Stages: %1").arg(figures.evaluatedStages()), box), 0, 0);
    grid->addWidget(figureLabel(kCorrectFigure, QStringLiteral("Correct: %1").arg(figures.correctStages()), box), 1, 0);
    grid->addWidget(figureLabel(kLongestRunFigure,
                                QStringLiteral("Longest run of correct stages: %1").arg(figures.longestCorrectRun()), box),
                    2, 0);
    grid->addWidget(figureLabel(kLeftFigure, QStringLiteral("Left before the finish: %1").arg(figures.leftStages()), box),
                    3, 0);
    grid->addWidget(figureLabel(kBestTimeFigure,
                                QStringLiteral("Best time of a correct stage: %1")
                                    .arg(orNoneYet(figures.bestCorrectSeconds(), 2, QStringLiteral(" s"))),
                                box),
                    0, 1);
    grid->addWidget(figureLabel(kMeanLast10Figure,
                                QStringLiteral("Mean digits matched, last 10: %1")
                                    .arg(orNoneYet(figures.meanDigitsMatchedOverLast(10), 1)),
                                box),
                    1, 1);
    grid->addWidget(figureLabel(kMeanLast50Figure,
                                QStringLiteral("Mean digits matched, last 50: %1")
                                    .arg(orNoneYet(figures.meanDigitsMatchedOverLast(50), 1)),
                                box),
                    2, 1);
    grid->setColumnStretch(2, 1);
    return box;
}

QLabel *makeMessage(const QString &text, bool problem, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(progress::kMessage));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMargin(24);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 1.25);
    font.setBold(problem);
    label->setFont(font);
    if (problem) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, kProblemColour);
        label->setPalette(palette);
    }
    return label;
}

// A sentence above the chart, in the problem's colour but plain.
QLabel *makeNotice(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(progress::kNotice));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setContentsMargins(12, 4, 12, 0);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kProblemColour);
    label->setPalette(palette);
    return label;
}

// The factor length shown: a choice among those played, or, with only one,
// a line that names it.
QWidget *makeLengthRow(const QList<PlayedLength> &lengths, int shown, QComboBox **choice, QWidget *parent)
{
    auto *row = new QWidget(parent);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(12, 0, 12, 0);
    auto *caption = new QLabel(row);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    layout->addWidget(caption);
    *choice = nullptr;
    if (lengths.size() == 1) {
        caption->setText(QStringLiteral("Factor length:"));
        auto *summary = new QLabel(lengthText(lengths.front()), row);
        summary->setObjectName(QLatin1String(progress::kLengthSummary));
        layout->addWidget(summary);
    } else {
        caption->setText(QStringLiteral("&Factor length:"));
        auto *combo = new QComboBox(row);
        combo->setObjectName(QLatin1String(progress::kLengthChoice));
        for (const PlayedLength &length : lengths) {
            combo->addItem(lengthText(length), length.factorDigits);
            if (length.factorDigits == shown)
                combo->setCurrentIndex(combo->count() - 1);
        }
        caption->setBuddy(combo);
        layout->addWidget(combo);
        *choice = combo;
    }
    layout->addStretch(1);
    return row;
}

// The strip of the columns missed with its heading and its sentence, or the
// sentence alone where no stage of the length was evaluated.
void addMissStrip(const ColumnMisses &misses, QVBoxLayout *layout, QWidget *parent)
{
    if (misses.stagesCounted() > 0) {
        auto *heading = new QLabel(
            QStringLiteral("Columns of the product, the units at the right, shaded by how often their digit was "
                           "wrong in %1:")
                .arg(misses.stagesCounted() == ColumnMisses::kStagesCounted
                         ? QStringLiteral("the last %1 evaluated stages").arg(ColumnMisses::kStagesCounted)
                         : QStringLiteral("the %1 evaluated so far").arg(stagesText(misses.stagesCounted()))),
            parent);
        heading->setObjectName(QLatin1String(progress::kMissHeading));
        heading->setContentsMargins(12, 0, 12, 0);
        layout->addWidget(heading);
        auto *strip = new MissStrip(misses, parent);
        strip->setObjectName(QLatin1String(progress::kMissStrip));
        strip->setContentsMargins(12, 0, 12, 0);
        layout->addWidget(strip);
    }
    auto *summary = new QLabel(misses.summary(), parent);
    summary->setObjectName(QLatin1String(progress::kMissSummary));
    summary->setWordWrap(true);
    summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    summary->setContentsMargins(12, 0, 12, 0);
    QFont font = summary->font();
    font.setPointSizeF(font.pointSizeF() * 1.15);
    summary->setFont(font);
    layout->addWidget(summary);
}

} // namespace

ProgressWindow::ProgressWindow(const QList<StageReport> &reports, const QString &problem, const QString &notice,
                               QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_reports(reports)
{
    setWindowTitle(QLatin1String(kTitle));
    // Fits a 1024 x 768 screen with room for the window frame and a panel.
    resize(960, 700);
    // A view to look at and put away: Escape closes it, as do the usual
    // keys for closing a window and quitting.
    for (const QKeySequence &keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W),
                                     QKeySequence(Qt::CTRL | Qt::Key_Q)}) {
        auto *shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, &QWidget::close);
    }

    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(8, 8, 8, 12);
    m_layout->setSpacing(8);

    if (!problem.isEmpty()) {
        m_layout->addWidget(makeMessage(problem, true, this), 1);
        return;
    }
    if (!notice.isEmpty())
        m_layout->addWidget(makeNotice(notice, this));
    if (reports.isEmpty()) {
        m_layout->addWidget(makeMessage(QLatin1String(kNothingLogged), false, this), 1);
        return;
    }

    const QList<PlayedLength> lengths = playedLengths(reports);
    const int shown = mostPlayedLength(lengths);
    QComboBox *choice = nullptr;
    m_layout->addWidget(makeLengthRow(lengths, shown, &choice, this));
    if (choice) {
        connect(choice, &QComboBox::currentIndexChanged, this,
                [this, choice](int index) { showLength(choice->itemData(index).toInt()); });
    }
    showLength(shown);
}

void ProgressWindow::showLength(int factorDigits)
{
    // The view of the length shown before goes at once, so that no two
    // pieces of the same name are ever found side by side.
    delete m_lengthView;
    m_lengthView = new QWidget(this);
    auto *layout = new QVBoxLayout(m_lengthView);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);

    const QList<StageReport> stages = stagesOfLength(m_reports, factorDigits);
    const ProgressFigures figures(stages);
    if (figures.evaluatedStages() == 0) {
        layout->addWidget(makeMessage(QStringLiteral("None of the logged stages of %1 digits reached the evaluation "
                                                     "yet. Finish a stage, or let its clock run out, to see it "
                                                     "charted here.")
                                          .arg(factorDigits),
                                      false, m_lengthView),
                          1);
    } else {
        layout->addWidget(makeProgressChart(stages, factorDigits, m_lengthView), 1);
    }
    addMissStrip(ColumnMisses(stages, factorDigits), layout, m_lengthView);
    layout->addWidget(makeFigures(figures, m_lengthView));
    m_layout->addWidget(m_lengthView, 1);
}

} // namespace vk
