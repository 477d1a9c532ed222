#pragma once

#include <QString>
#include <QStringList>

namespace vk {

// The answer as stored in "cevap": the answer cells from the left, an empty
// cell read as one space, with the spaces at both ends trimmed (so gaps
// inside the answer stay visible).
QString answerFromCells(const QStringList &cells);

} // namespace vk
