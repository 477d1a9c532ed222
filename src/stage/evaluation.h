#pragma once

#include "platform/colorref.h"

#include <QString>

#include <functional>
#include <vector>

namespace vk {

// Backgrounds of the revealed product digits.
inline constexpr ColorRef kRevealMatch = 0x00C000;    // RGB 0, 192, 0
inline constexpr ColorRef kRevealMismatch = 0x8080FF; // RGB 255, 128, 128

// One revealed digit of the product: where it goes, what it is, and whether
// the user's digit in the same column is exactly the same text.
struct RevealedDigit {
    int column = 0;  // sheet column, 40 for the units digit
    QString digit;   // the product's digit as written into the reveal row
    bool match = false;
    ColorRef backColor() const { return match ? kRevealMatch : kRevealMismatch; }
};

struct Evaluation {
    std::vector<RevealedDigit> digits; // from the units digit leftwards
    bool correct = false;              // every revealed digit matched
    int digitsMatched = 0;             // revealed digits that matched
};

// The product is written right-aligned with its units digit in `unitsColumn`
// (the i-th digit from the right goes to unitsColumn + 1 - i), and each
// digit is compared with the text of the answer cell in its column. Only
// the columns the product occupies count: an answer digit left of a shorter
// product is never looked at. An empty or multi-character answer cell never
// matches. `answerCell(column)` gives the answer row's cell text.
Evaluation evaluateAnswer(const QString &correctProduct, const std::function<QString(int column)> &answerCell,
                          int unitsColumn = 40);

// One character per product digit, most significant first as the product
// is written: '1' where the answer's digit in that column matched, '0'
// where it did not.
QString matchedColumns(const Evaluation &evaluation);

} // namespace vk
