#pragma once

#include "platform/colorref.h"
#include "platform/rounding.h"

#include <cstdint>

namespace vk::sheet {

// The answer sheet: 9 rows, 42 columns. Rows and columns are found from the
// grid's counts, so these numbers describe the sheet as it is set up.
constexpr int kRows = 9;
constexpr int kCols = 42;
constexpr int kFirstDigitCol = 1;
constexpr int kUnitsCol = 40;        // column count - 2
constexpr int kAnswerRow = 5;        // row count - 4
constexpr int kRevealRow = 7;        // row count - 2
constexpr int kRuleRow = 4;          // its top edge carries the line under the factors

constexpr std::int32_t kDigitColTwips = 330;
constexpr std::int32_t kEdgeTwips = 90;
constexpr std::int32_t kDigitRowTwips = 510;
constexpr std::int32_t kGapRowTwips = 270;
constexpr double kFontPoints = 21.0;
constexpr int kCentreAlignment = 4;

constexpr ColorRef kAnswerBack = 0xEDD6C5;  // RGB 197, 214, 237
constexpr ColorRef kCursorBack = 0xF8E5D7;  // RGB 215, 229, 248; also a marked factor column

// Every number on the sheet stands right-aligned with its units digit in
// the units column. Factors of n digits fill the last n columns, their
// product (and so the answer) at most the last 2n.
constexpr int firstFactorCol(int factorDigits, int unitsCol = kUnitsCol) { return unitsCol - factorDigits + 1; }
constexpr int firstProductCol(int factorDigits, int unitsCol = kUnitsCol) { return unitsCol - 2 * factorDigits + 1; }

// Outer size in pixels of cells totalling `twips`, with the one-pixel frame
// on both sides.
inline std::int16_t outerPixels(std::int64_t twips, int twipsPerPixel)
{
    return static_cast<std::int16_t>(roundHalfEven(static_cast<double>(twips) / twipsPerPixel + 2.0));
}

} // namespace vk::sheet
