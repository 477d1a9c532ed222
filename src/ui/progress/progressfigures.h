#pragma once

#include "stage/stagereport.h"

#include <QList>

#include <optional>

namespace vk {

// The figures the progress view shows, worked out from the logged stages in
// the order they were logged. A stage is evaluated when it reached the
// evaluation (Correct or Wrong); a stage left before the finish is counted
// apart and takes part in no other figure.
class ProgressFigures
{
public:
    explicit ProgressFigures(const QList<StageReport> &reports);

    int evaluatedStages() const { return static_cast<int>(m_digitsMatched.size()); }
    int correctStages() const { return m_correct; }
    int leftStages() const { return m_left; }

    // The fewest seconds a correct stage took; none before the first one.
    std::optional<double> bestCorrectSeconds() const { return m_bestCorrectSeconds; }

    // The mean of the digits matched over the last `count` evaluated stages,
    // or over all of them when there are fewer; none without any.
    std::optional<double> meanDigitsMatchedOverLast(int count) const;

    // The most correct stages one after another among the evaluated ones.
    int longestCorrectRun() const { return m_longestCorrectRun; }

private:
    int m_correct = 0;
    int m_left = 0;
    std::optional<double> m_bestCorrectSeconds;
    int m_longestCorrectRun = 0;
    QList<int> m_digitsMatched; // of each evaluated stage, in log order
};

} // namespace vk
