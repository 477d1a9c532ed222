#include "stage/stage.h"

#include "platform/dayclock.h"
#include "platform/randomsource.h"
#include "stage/multiplydigits.h"

#include <algorithm>
#include <cmath>

namespace vk {
namespace {

QString drawFactor(RandomSource &random, int length)
{
    QString digits;
    digits.reserve(length);
    for (int k = 1; k <= length; ++k) {
        const double r = random.next();
        // The leading digit is 1-9, the rest 0-9; a source that ever returned
        // 1.0 would still give a digit, never '10'.
        const int span = k == 1 ? 9 : 10;
        int digit = static_cast<int>(std::floor(r * span));
        digit = digit < 0 ? 0 : (digit >= span ? span - 1 : digit);
        digits.append(QChar(u'0' + (k == 1 ? digit + 1 : digit)));
    }
    return digits;
}

} // namespace

void resetStageRecord(StageRecord &stage, bool timerEnabled, int factorDigits)
{
    stage = StageRecord{};
    stage.firstActivation = true;
    stage.backState = 0;
    stage.finishState = 0;
    stage.stageRunning = true;
    stage.timeLimit = 900;
    stage.clockOn = timerEnabled;
    stage.factorDigits = std::clamp(factorDigits, kFewestFactorDigits, kMostFactorDigits);
}

void createProblem(QDomDocument &problemDoc, StageRecord &stage, RandomSource &random, const DayClock &clock)
{
    random.reseedFromClock(clock);

    problemDoc = QDomDocument();
    problemDoc.appendChild(
        problemDoc.createProcessingInstruction(QStringLiteral("xml"), QStringLiteral("version='1.0' encoding='iso-8859-9'")));
    QDomElement root = problemDoc.appendChild(problemDoc.createElement(doc::kRoot)).toElement();
    stage.stageElement = root.appendChild(problemDoc.createElement(doc::kStage)).toElement();

    const int problemCount = 1;
    for (int n = 1; n <= problemCount; ++n) {
        QDomElement problem =
            stage.stageElement.appendChild(problemDoc.createElement(doc::kProblemPrefix + QString::number(n))).toElement();
        QString product;
        for (int j = 1; j <= 2; ++j) {
            problem.setAttribute(j == 1 ? doc::kFactor1 : doc::kFactor2, drawFactor(random, stage.factorDigits));
            if (j == 2) {
                const QByteArray first = problem.attribute(doc::kFactor1).toLatin1();
                const QByteArray second = problem.attribute(doc::kFactor2).toLatin1();
                product = QString::fromStdString(multiplyDigits(first.toStdString(), second.toStdString()));
            }
        }
        problem.setAttribute(doc::kProduct, product);
        problem.setAttribute(doc::kAnswer, QString());
        stage.correctProduct = product;
    }
}

QDomElement problemElement(const StageRecord &stage)
{
    return stage.stageElement.firstChildElement(doc::kProblemPrefix + QString::number(stage.problemNo));
}

} // namespace vk
