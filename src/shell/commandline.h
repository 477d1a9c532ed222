#pragma once

#include "stage/factorlength.h"
#include "stage/stagereport.h"

#include <QString>
#include <QStringList>

#include <memory>

class QTextStream;

namespace vk {

// What the program was asked to do.
enum class RunMode {
    Trainer,    // the trainer (with the training log on for --log)
    Progress,   // --progress: the training log's progress view
    ExportLog,  // --export-log FILE: the training log as CSV
    Help,       // --help
    Version,    // --version
    UsageError, // anything this program and Qt do not know
};

struct CommandLine {
    RunMode mode = RunMode::Trainer;
    bool keepLog = false; // --log
    int factorDigits = 0; // --digits N: the first stages' factor length; 0 when not given
    QString exportFile;   // for ExportLog
    QString error;        // for UsageError: what was wrong, one line
};

inline constexpr int kExitUsage = 2;


// Reads the arguments after the program's name. Qt's own options (such as
// -platform offscreen or -display :1) are let through for QApplication,
// which reads them itself.
CommandLine parseCommandLine(const QStringList &arguments);

QString usageText();

// Help, version, the export and usage errors run without a display.
bool needsDisplay(const CommandLine &commandLine);

// Runs a mode that needs no display and returns the exit status: 0, 1 when
// the export failed, kExitUsage for a usage error. `logPath` is the
// training log to export.
int runWithoutDisplay(const CommandLine &commandLine, const QString &logPath, QTextStream &out, QTextStream &err);

// Where the training log is kept (under the user's data folder).
QString defaultTrainingLogPath();

class LogStatusRelay;

// The training log's writer for a run with --log, else null; it tells
// `status` (when given) what it is doing.
std::unique_ptr<StageReportSink> stageReportsFor(const CommandLine &commandLine, LogStatusRelay *status = nullptr);

// --progress: reads the training log and shows it. The exit status.
int runProgressMode();

} // namespace vk
