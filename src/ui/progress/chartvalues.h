#pragma once

#include <QList>

namespace vk {

// The running mean the chart draws as a trend: at each place the mean of
// the last `window` values up to and including it, or of all of them at the
// start, where there are fewer.
QList<double> runningMeans(const QList<double> &values, int window);

// A step for the ticks of an axis over `span` that gives at most
// `mostIntervals` intervals: 1, 2 or 5 times a power of ten, and at least 1,
// so that every tick is a whole number.
double roundStep(double span, int mostIntervals);

// A value axis from 0: its top, a whole number of steps, and its step.
struct AxisScale {
    double top = 1;
    double step = 1;

    friend bool operator==(const AxisScale &, const AxisScale &) = default;
};

// The seconds' axis for times up to `longest`: from 0 to the first round
// value at or above the longest time.
AxisScale secondsAxisScale(double longest);

} // namespace vk
