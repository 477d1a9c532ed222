#include "ui/progress/chartvalues.h"

#include <algorithm>
#include <cmath>

namespace vk {

QList<double> runningMeans(const QList<double> &values, int window)
{
    QList<double> means;
    means.reserve(values.size());
    // A sum carried along would gather the rounding of thousands of
    // additions; the window is short, so each mean adds its own.
    for (qsizetype i = 0; i < values.size(); ++i) {
        const qsizetype first = std::max<qsizetype>(0, i + 1 - window);
        double sum = 0;
        for (qsizetype j = first; j <= i; ++j)
            sum += values[j];
        means.append(sum / static_cast<double>(i + 1 - first));
    }
    return means;
}

double roundStep(double span, int mostIntervals)
{
    const double raw = span / mostIntervals;
    if (!(raw > 1.0))
        return 1.0;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double step : {1.0, 2.0, 5.0}) {
        if (step * power >= raw)
            return step * power;
    }
    return 10.0 * power;
}

AxisScale secondsAxisScale(double longest)
{
    // About ten intervals read well on a chart a few hundred pixels high.
    const double step = roundStep(longest, 10);
    const double top = std::max(step, std::ceil(longest / step) * step);
    return {top, step};
}

} // namespace vk
