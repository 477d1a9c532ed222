#pragma once

#include "traininglog/traininglog.h"

#include <QList>
#include <QString>

namespace vk {

// The log as CSV: a header row, then one row per stage, lines ending in
// CR LF; a field holding a comma, a double quote or a line break is quoted
// and its quotes doubled (RFC 4180).
QString logToCsv(const QList<LogEntry> &entries);

// Writes logToCsv(entries) (UTF-8) where `target` says: "-" is standard
// output; a target that exists and is not a regular file (a device, a FIFO,
// anything under /dev or /proc, such as /dev/stdout) is written in place,
// never replaced; a regular file is replaced as a whole, only once every
// byte has been written and synced. False with `problem` set when it could
// not be written whole (a full disk, a short write).
bool writeLogCsv(const QList<LogEntry> &entries, const QString &target, QString *problem);

// Whether `target` is this process's standard output ("-", /dev/stdout or
// whatever else stands for the same file).
bool isStandardOutput(const QString &target);

} // namespace vk
