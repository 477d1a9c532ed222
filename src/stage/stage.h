#pragma once

#include "stage/factorlength.h"

#include <QDomDocument>
#include <QDomElement>
#include <QString>

#include <cstdint>

namespace vk {

class DayClock;
class RandomSource;

// The state of one stage: the fields of the exercise window that live from
// its load to its unload. Booleans are plain bools here; nothing is stored.
struct StageRecord {
    std::uint8_t backState = 0;   // drawn BACK button: 1 while hovered and holding the capture
    std::uint8_t finishState = 0; // drawn FINISH button, the same
    float startTime = 0.0f;       // clock of the day when the stage clock started
    float elapsedTime = 0.0f;     // seconds, two decimals
    std::int16_t timeLimit = 900;
    int factorDigits = 20;        // how many digits each factor has, 2 to 20
    bool clockOn = true;          // whether the clock display is shown while the stage runs
    bool stageRunning = true;     // answers may be entered; cleared once by the finish
    QString correctProduct;       // the same text as "dogrucevap"
    bool firstActivation = true;  // until the first activation has loaded the sheet
    std::int16_t problemNo = 0;   // element "Soru_<problemNo>" shown by the sheet
    std::int16_t sheetWidth = 0;  // outer size of the answer sheet, pixels
    std::int16_t sheetHeight = 0;
    QDomElement stageElement;     // the "Vendrakul" element of the problem document
};

// The values a stage starts with when its window loads (everything up to
// and including copying the clock choice and the factors' length; drawing
// the problem follows).
void resetStageRecord(StageRecord &stage, bool timerEnabled, int factorDigits = 20);

// Draws a new problem: replaces `problemDoc` with a fresh tree
// <?xml ...?><Kelvaris><Vendrakul><Soru_1 sayi_1 sayi_2 dogrucevap cevap/>
// and sets stage.stageElement and stage.correctProduct. The random source is
// reseeded from the clock of the day before the digits are drawn: two
// factors of stage.factorDigits digits each, 40 at the full length.
void createProblem(QDomDocument &problemDoc, StageRecord &stage, RandomSource &random, const DayClock &clock);

// The element "Soru_<problemNo>" below stage.stageElement (null if absent).
QDomElement problemElement(const StageRecord &stage);

// Names in the problem document.
namespace doc {
inline const QString kRoot = QStringLiteral("Kelvaris");
inline const QString kStage = QStringLiteral("Vendrakul");
inline const QString kProblemPrefix = QStringLiteral("Soru_");
inline const QString kFactor1 = QStringLiteral("sayi_1");
inline const QString kFactor2 = QStringLiteral("sayi_2");
inline const QString kProduct = QStringLiteral("dogrucevap");
inline const QString kAnswer = QStringLiteral("cevap");
} // namespace doc

} // namespace vk
