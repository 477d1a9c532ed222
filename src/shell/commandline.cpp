#include "shell/commandline.h"

#include "shell/logstatusrelay.h"
#include "shell/progressmode.h"
#include "traininglog/logcsv.h"
#include "traininglog/logwriter.h"
#include "traininglog/traininglog.h"

#include <QTextStream>

namespace vk {
namespace {

// The options QGuiApplication and QApplication read themselves: those
// followed by a value, and those standing alone.
const QStringList kQtOptionsWithValue = {
    QStringLiteral("platform"),     QStringLiteral("platformpluginpath"), QStringLiteral("platformtheme"),
    QStringLiteral("plugin"),       QStringLiteral("qwindowgeometry"),    QStringLiteral("qwindowicon"),
    QStringLiteral("qwindowtitle"), QStringLiteral("display"),            QStringLiteral("geometry"),
    QStringLiteral("style"),        QStringLiteral("stylesheet"),         QStringLiteral("session"),
    QStringLiteral("name"),         QStringLiteral("title"),              QStringLiteral("visual"),
    QStringLiteral("ncols"),        QStringLiteral("cmap"),               QStringLiteral("fontengine"),
    QStringLiteral("qmljsdebugger"),
};
const QStringList kQtFlags = {
    QStringLiteral("reverse"), QStringLiteral("widgetcount"), QStringLiteral("nograb"),
    QStringLiteral("dograb"),  QStringLiteral("sync"),        QStringLiteral("testability"),
};

CommandLine usageError(const QString &why)
{
    CommandLine result;
    result.mode = RunMode::UsageError;
    result.error = why;
    return result;
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    CommandLine result;
    bool help = false;
    bool version = false;
    QStringList modes; // the options that choose what runs, as given
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        if (arg == QLatin1String("--log")) {
            result.keepLog = true;
        } else if (arg == QLatin1String("--progress")) {
            modes.append(arg);
            result.mode = RunMode::Progress;
        } else if (arg == QLatin1String("--export-log") || arg.startsWith(QLatin1String("--export-log="))) {
            QString file;
            if (arg.contains(QLatin1Char('='))) {
                file = arg.section(QLatin1Char('='), 1);
            } else if (i + 1 < arguments.size()) {
                file = arguments.at(++i);
            }
            if (file.isEmpty())
                return usageError(QStringLiteral("--export-log needs the name of the CSV file to write"));
            modes.append(QStringLiteral("--export-log"));
            result.mode = RunMode::ExportLog;
            result.exportFile = file;
        } else if (arg == QLatin1String("--digits") || arg.startsWith(QLatin1String("--digits="))) {
            QString value;
            if (arg.contains(QLatin1Char('=')))
                value = arg.section(QLatin1Char('='), 1);
            else if (i + 1 < arguments.size())
                value = arguments.at(++i);
            bool ok = false;
            const int digits = value.toInt(&ok);
            if (!ok || digits < kFewestFactorDigits || digits > kMostFactorDigits)
                return usageError(QStringLiteral("--digits needs a number from %1 to %2")
                                      .arg(kFewestFactorDigits)
                                      .arg(kMostFactorDigits));
            result.factorDigits = digits;
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            help = true;
        } else if (arg == QLatin1String("--version")) {
            version = true;
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            // Qt takes "-platform" and "--platform" alike.
            const QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1).section(QLatin1Char('='), 0, 0);
            if (kQtOptionsWithValue.contains(name)) {
                if (!arg.contains(QLatin1Char('=')) && name != QLatin1String("qmljsdebugger")) {
                    if (i + 1 >= arguments.size())
                        return usageError(QStringLiteral("%1 needs a value").arg(arg));
                    ++i;
                }
            } else if (!kQtFlags.contains(name)) {
                return usageError(QStringLiteral("unknown option %1").arg(arg));
            }
        } else {
            return usageError(QStringLiteral("unexpected argument %1").arg(arg));
        }
    }
    if (modes.size() > 1)
        return usageError(QStringLiteral("%1 and %2 cannot be used together").arg(modes.at(0), modes.at(1)));
    // --log keeps the stages of a training run; the other two only read
    // the log, so a --log beside them would be silently meaningless.
    if (result.keepLog && !modes.isEmpty())
        return usageError(QStringLiteral("--log and %1 cannot be used together (--log trains and keeps the stages; "
                                         "%1 only reads the log)")
                              .arg(modes.at(0)));
    if (result.factorDigits != 0 && !modes.isEmpty())
        return usageError(QStringLiteral("--digits and %1 cannot be used together (--digits chooses the factors of "
                                         "a training run)")
                              .arg(modes.at(0)));
    if (help)
        result.mode = RunMode::Help;
    else if (version)
        result.mode = RunMode::Version;
    return result;
}

QString usageText()
{
    return QStringLiteral(
        "Usage: vendrakul [--log] [--digits N] | --progress | --export-log FILE.csv | --help | --version"
        " [Qt options]\n"
        "\n"
        "Trains multiplying two long numbers in the head, up to 20 digits each.\n"
        "\n"
        "  (no option)              run the trainer; nothing is stored\n"
        "  --log                    run the trainer and keep every stage in the training log\n"
        "  --digits N               start with factors of N digits, 2 to 20 (20 unless given)\n"
        "  --progress               show the progress kept in the training log\n"
        "  --export-log FILE.csv    write the training log to FILE.csv as CSV (- for standard output)\n"
        "  --help                   show this text\n"
        "  --version                show the version\n"
        "\n"
        "The training log is %1\n"
        "Qt's own options, such as -platform offscreen or -display :1, are passed on to Qt.\n")
        .arg(TrainingLog::defaultPath().isEmpty() ? QStringLiteral("kept in the user's data folder.")
                                                  : TrainingLog::defaultPath() + QLatin1Char('.'));
}

bool needsDisplay(const CommandLine &commandLine)
{
    return commandLine.mode == RunMode::Trainer || commandLine.mode == RunMode::Progress;
}

int runWithoutDisplay(const CommandLine &commandLine, const QString &logPath, QTextStream &out, QTextStream &err)
{
    switch (commandLine.mode) {
    case RunMode::Help:
        out << usageText();
        out.flush();
        return 0;
    case RunMode::Version:
        out << "vendrakul " << VK_VERSION << '\n';
        out.flush();
        return 0;
    case RunMode::UsageError:
        err << "vendrakul: " << commandLine.error << '\n' << usageText();
        err.flush();
        return kExitUsage;
    case RunMode::ExportLog: {
        const LogContents contents = TrainingLog::read(logPath);
        QString problem = contents.problem;
        if (problem.isEmpty() && writeLogCsv(contents.entries, commandLine.exportFile, &problem)) {
            if (!contents.unreadable.isEmpty())
                err << "vendrakul: " << contents.unreadable << '\n';
            // Not into the CSV when that went to standard output.
            QTextStream &report = isStandardOutput(commandLine.exportFile) ? err : out;
            report << "vendrakul: " << contents.entries.size()
                   << (contents.entries.size() == 1 ? " stage written to " : " stages written to ")
                   << (commandLine.exportFile == QLatin1String("-") ? QStringLiteral("standard output")
                                                                    : commandLine.exportFile)
                   << '\n';
            report.flush();
            err.flush();
            return 0;
        }
        err << "vendrakul: the training log was not exported: " << problem << '\n';
        err.flush();
        return 1;
    }
    case RunMode::Trainer:
    case RunMode::Progress:
        break;
    }
    err << "vendrakul: this mode needs a display\n";
    err.flush();
    return 1;
}

QString defaultTrainingLogPath()
{
    return TrainingLog::defaultPath();
}

std::unique_ptr<StageReportSink> stageReportsFor(const CommandLine &commandLine, LogStatusRelay *status)
{
    if (!commandLine.keepLog)
        return nullptr;
    TrainingLogWriter::Options options;
    if (status)
        options.status = [status](const LogStatus &now) { status->post(now); };
    return std::make_unique<TrainingLogWriter>(TrainingLog::defaultPath(), std::move(options));
}

int runProgressMode()
{
    return showProgress(TrainingLog::read(TrainingLog::defaultPath()));
}

} // namespace vk
