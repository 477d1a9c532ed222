#include "ui/progress/progressfigures.h"

#include <algorithm>

namespace vk {

ProgressFigures::ProgressFigures(const QList<StageReport> &reports)
{
    int run = 0;
    for (const StageReport &report : reports) {
        // A stage left before the finish was never judged, so it says nothing
        // about a run: it neither breaks one nor adds to it.
        if (report.verdict == StageVerdict::Left) {
            ++m_left;
            continue;
        }
        m_digitsMatched.append(report.digitsMatched);
        if (report.verdict == StageVerdict::Correct) {
            ++m_correct;
            m_longestCorrectRun = std::max(m_longestCorrectRun, ++run);
            if (!m_bestCorrectSeconds || report.secondsUsed < *m_bestCorrectSeconds)
                m_bestCorrectSeconds = report.secondsUsed;
        } else {
            run = 0;
        }
    }
}

std::optional<double> ProgressFigures::meanDigitsMatchedOverLast(int count) const
{
    const qsizetype taken = std::min<qsizetype>(count, m_digitsMatched.size());
    if (taken <= 0)
        return std::nullopt;
    double sum = 0;
    for (qsizetype i = m_digitsMatched.size() - taken; i < m_digitsMatched.size(); ++i)
        sum += m_digitsMatched[i];
    return sum / static_cast<double>(taken);
}

} // namespace vk
