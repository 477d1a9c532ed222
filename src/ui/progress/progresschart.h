#pragma once

#include "stage/stagereport.h"

#include <QList>

class QChartView;
class QWidget;

namespace vk {

// Up to this many stages each one gets a dot on the raw lines; beyond it
// the dots would only blur into the lines.
inline constexpr int kMostStagesWithDots = 200;
// The running mean the trend lines draw is over this many stages.
inline constexpr int kTrendStages = 10;

// The chart of the evaluated stages of one factor length, numbered 1, 2,
// 3... in the order they were played: the seconds used against the left
// axis, the digits matched against the right one (0 to every column of the
// product), each as raw points behind its trend, and the correct stages
// marked. `reports` holds the stages of that length, left ones included
// (they take no place).
QChartView *makeProgressChart(const QList<StageReport> &reports, int factorDigits, QWidget *parent);

} // namespace vk
