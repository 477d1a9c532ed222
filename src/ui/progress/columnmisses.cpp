#include "ui/progress/columnmisses.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace vk {

namespace {

// The stage's matched columns as the log keeps them, or worked out from its
// answer where what was kept does not fit the product.
QString matchedColumnsOf(const StageReport &report)
{
    const QString &kept = report.matchedColumns;
    const bool fits = kept.size() == report.product.size()
                      && std::all_of(kept.cbegin(), kept.cend(), [](QChar c) { return c == u'0' || c == u'1'; });
    return fits ? kept : matchedColumnsFromAnswer(report.answer, report.product);
}

QString lastStages(int stages)
{
    return stages == 1 ? QStringLiteral("the last stage") : QStringLiteral("the last %1 stages").arg(stages);
}

} // namespace

ColumnMisses::ColumnMisses(const QList<StageReport> &reports, int factorDigits)
    : m_factorDigits(factorDigits)
    , m_misses(2 * factorDigits, 0)
{
    for (auto it = reports.crbegin(); it != reports.crend() && m_stages < kStagesCounted; ++it) {
        // A stage without its product says nothing about any column.
        if (it->verdict == StageVerdict::Left || it->product.isEmpty())
            continue;
        ++m_stages;
        const QString matched = matchedColumnsOf(*it);
        const int digits = static_cast<int>(matched.size());
        for (int column = 1; column <= std::min(digits, columns()); ++column) {
            if (matched.at(digits - column) != u'1')
                ++m_misses[column - 1];
        }
    }
}

double ColumnMisses::missShare(int column) const
{
    return m_stages == 0 ? 0.0 : static_cast<double>(misses(column)) / m_stages;
}

std::optional<ColumnStretch> ColumnMisses::weakestStretch() const
{
    const int count = columns();
    const int worst = count == 0 ? 0 : *std::max_element(m_misses.cbegin(), m_misses.cend());
    if (worst == 0)
        return std::nullopt;
    // Each column weighs by how far it was wrong more often than the middle
    // between the average column and the worst one; scaled by 2 x columns
    // to stay in whole numbers. A column a little below it between two
    // above it weighs less than they do, so chance does not split a stretch.
    const int total = std::accumulate(m_misses.cbegin(), m_misses.cend(), 0);
    const auto weight = [&](int column) { return 2 * count * misses(column) - total - count * worst; };
    ColumnStretch weakest{1, count}; // where every column was wrong as often
    int weakestWeight = 0;
    for (int first = 1; first <= count; ++first) {
        int sum = 0;
        for (int last = first; last <= count; ++last) {
            sum += weight(last);
            const bool shorter = last - first < weakest.last - weakest.first;
            if (sum > weakestWeight || (sum == weakestWeight && sum > 0 && shorter)) {
                weakest = ColumnStretch{first, last};
                weakestWeight = sum;
            }
        }
    }
    return weakest;
}

int ColumnMisses::percentOf(int misses) const
{
    return static_cast<int>(std::nearbyint(100.0 * misses / m_stages));
}

QString ColumnMisses::columnDescription(int column) const
{
    return QStringLiteral("Column %1 from the units digit: wrong in %2 of %3 %4 (%5 %)")
        .arg(column)
        .arg(misses(column))
        .arg(m_stages)
        .arg(m_stages == 1 ? QStringLiteral("stage") : QStringLiteral("stages"))
        .arg(percentOf(misses(column)));
}

QString ColumnMisses::summary() const
{
    if (m_stages == 0) {
        return QStringLiteral("No stage of %1 digits has reached the evaluation yet, so no column can be shaded.")
            .arg(m_factorDigits);
    }
    const std::optional<ColumnStretch> stretch = weakestStretch();
    if (!stretch)
        return QStringLiteral("No column was wrong in %1.").arg(lastStages(m_stages));
    if (stretch->first == stretch->last) {
        const int wrong = misses(stretch->first);
        return QStringLiteral("Your weakest column is column %1 from the units digit: wrong in %2.")
            .arg(stretch->first)
            .arg(m_stages == 1 ? lastStages(1)
                               : QStringLiteral("%1 of %2 (%3 %)").arg(wrong).arg(lastStages(m_stages)).arg(percentOf(wrong)));
    }
    const QString columnsText = QStringLiteral("Your weakest stretch is columns %1 to %2 from the units digit")
                                    .arg(stretch->first)
                                    .arg(stretch->last);
    if (m_stages == 1)
        return QStringLiteral("%1: wrong in %2.").arg(columnsText, lastStages(1));
    const auto range = std::minmax_element(m_misses.cbegin() + stretch->first - 1, m_misses.cbegin() + stretch->last);
    const int fewest = percentOf(*range.first);
    const int most = percentOf(*range.second);
    const QString shares = fewest == most ? QStringLiteral("%1 %").arg(most) : QStringLiteral("%1 to %2 %").arg(fewest).arg(most);
    return QStringLiteral("%1: each wrong in %2 of %3.").arg(columnsText, shares, lastStages(m_stages));
}

} // namespace vk
