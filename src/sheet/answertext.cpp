#include "sheet/answertext.h"

namespace vk {

QString answerFromCells(const QStringList &cells)
{
    QString answer;
    answer.reserve(cells.size());
    for (const QString &cell : cells)
        answer += cell.isEmpty() ? QStringLiteral(" ") : cell;
    // Only spaces: a cell never holds other white space, and if it did it
    // would be part of the answer.
    qsizetype begin = 0;
    qsizetype end = answer.size();
    while (begin < end && answer.at(begin) == u' ')
        ++begin;
    while (end > begin && answer.at(end - 1) == u' ')
        --end;
    return answer.mid(begin, end - begin);
}

} // namespace vk
