#include "ui/progress/playedlengths.h"

#include <QMap>

namespace vk {

QList<PlayedLength> playedLengths(const QList<StageReport> &reports)
{
    QMap<int, int> stagesByLength;
    for (const StageReport &report : reports)
        ++stagesByLength[report.factorDigits];
    QList<PlayedLength> lengths;
    lengths.reserve(stagesByLength.size());
    for (auto it = stagesByLength.cbegin(); it != stagesByLength.cend(); ++it)
        lengths.append({it.key(), it.value()});
    return lengths;
}

int mostPlayedLength(const QList<PlayedLength> &lengths)
{
    PlayedLength most;
    for (const PlayedLength &length : lengths) {
        if (length.stages > most.stages
            || (length.stages == most.stages && length.factorDigits > most.factorDigits))
            most = length;
    }
    return most.factorDigits;
}

QList<StageReport> stagesOfLength(const QList<StageReport> &reports, int factorDigits)
{
    QList<StageReport> stages;
    for (const StageReport &report : reports) {
        if (report.factorDigits == factorDigits)
            stages.append(report);
    }
    return stages;
}

} // namespace vk
