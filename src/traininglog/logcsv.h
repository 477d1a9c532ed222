#pragma once

#include "traininglog/traininglog.h"

#include <QList>
#include <QString>

namespace vk {

// The log as CSV: a header row, then one row per stage, lines ending in
// CR LF; a field holding a comma, a double quote or a line break is quoted
// and its quotes doubled (RFC 4180).
QString logToCsv(const QList<LogEntry> &entries);

// Writes logToCsv(entries) to `file` (UTF-8), replacing it only once the
// whole text is written. False with `problem` set when it could not be.
bool writeLogCsv(const QList<LogEntry> &entries, const QString &file, QString *problem);

} // namespace vk
