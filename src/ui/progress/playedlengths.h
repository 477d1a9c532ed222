#pragma once

#include "stage/stagereport.h"

#include <QList>

namespace vk {

// A factor length the log holds stages of, and how many: every logged
// stage counts, left ones included, since each was played at that length.
struct PlayedLength {
    int factorDigits = 0;
    int stages = 0;

    friend bool operator==(const PlayedLength &, const PlayedLength &) = default;
};

// The lengths played, shortest first.
QList<PlayedLength> playedLengths(const QList<StageReport> &reports);

// The length the progress view opens on: the one with the most stages, and
// of two with as many, the longer factors. 0 when nothing was played.
int mostPlayedLength(const QList<PlayedLength> &lengths);

// The stages of one length, in the order they were played.
QList<StageReport> stagesOfLength(const QList<StageReport> &reports, int factorDigits);

} // namespace vk
