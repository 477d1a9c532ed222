#pragma once

#include "stage/stagereport.h"

#include <QList>
#include <QString>

#include <optional>

namespace vk {

// Adjacent columns of the product, counted from the units digit (column 1).
struct ColumnStretch {
    int first = 0;
    int last = 0;

    friend bool operator==(const ColumnStretch &, const ColumnStretch &) = default;
};

// Where the answers of one factor length went wrong: for each column of the
// product, counted from the units digit, in how many of the last evaluated
// stages its digit was wrong. Two N-digit factors make a product of 2N - 1
// or 2N digits; the 2N columns are all counted, and a column beyond a
// shorter product is never wrong.
class ColumnMisses
{
public:
    static constexpr int kStagesCounted = 50;

    // `reports` are stages of `factorDigits`-digit factors in the order they
    // were played; stages left before the evaluation are passed over.
    ColumnMisses(const QList<StageReport> &reports, int factorDigits);

    int factorDigits() const { return m_factorDigits; }
    int columns() const { return static_cast<int>(m_misses.size()); }
    // The evaluated stages counted: the last kStagesCounted, or fewer.
    int stagesCounted() const { return m_stages; }
    // In how many of them the digit of `column` (1 = units) was wrong.
    int misses(int column) const { return m_misses[column - 1]; }
    double missShare(int column) const;

    // The weakest stretch: the adjacent columns that, taken together, were
    // wrong most often beyond the middle between the average column and the
    // worst one (of two such, the shorter, then the one nearer the units).
    // All columns where each was wrong as often; none where none was wrong.
    std::optional<ColumnStretch> weakestStretch() const;

    // What hovering a column tells: its place, count and share.
    QString columnDescription(int column) const;
    // One sentence on the weakest stretch, or on why there is none.
    QString summary() const;

private:
    int percentOf(int misses) const;

    int m_factorDigits = 0;
    int m_stages = 0;
    QList<int> m_misses; // [0] is the units column
};

} // namespace vk
