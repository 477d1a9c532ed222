#include "traininglog/logcsv.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <sys/stat.h>
#include <unistd.h>

namespace vk {
namespace {

QString field(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// A target that is not a file of its own to replace: it is written where
// it stands.
bool writesInPlace(const QString &target)
{
    if (target == QLatin1String("-"))
        return true;
    const QString absolute = QFileInfo(target).absoluteFilePath();
    if (absolute.startsWith(QLatin1String("/dev/")) || absolute.startsWith(QLatin1String("/proc/")))
        return true;
    const QFileInfo info(target);
    return info.exists() && !info.isFile();
}

// Writes all of `bytes`, or fails: a device may take fewer than it is given.
bool writeWhole(QIODevice &out, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = out.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

} // namespace

QString logToCsv(const QList<LogEntry> &entries)
{
    const QLatin1String lineEnd("\r\n");
    QString csv = QStringLiteral("id,started_utc,seconds_used,clock_shown,factor1,factor2,answer,product,digits_matched,verdict,"
                                 "factor_digits")
                  + lineEnd;
    for (const LogEntry &e : entries) {
        const StageReport &r = e.report;
        const QStringList fields{
            QString::number(e.id),
            r.startedUtc.toUTC().toString(Qt::ISODateWithMs),
            QString::number(r.secondsUsed, 'f', 2),
            r.clockShown ? QStringLiteral("1") : QStringLiteral("0"),
            r.factor1,
            r.factor2,
            r.answer,
            r.product,
            QString::number(r.digitsMatched),
            verdictName(r.verdict),
            QString::number(r.factorDigits),
        };
        QStringList row;
        row.reserve(fields.size());
        for (const QString &f : fields)
            row.append(field(f));
        csv += row.join(QLatin1Char(',')) + lineEnd;
    }
    return csv;
}

bool isStandardOutput(const QString &target)
{
    if (target == QLatin1String("-"))
        return true;
    struct stat out{};
    struct stat file{};
    return ::fstat(STDOUT_FILENO, &out) == 0 && ::stat(QFile::encodeName(target).constData(), &file) == 0
           && out.st_dev == file.st_dev && out.st_ino == file.st_ino;
}

bool writeLogCsv(const QList<LogEntry> &entries, const QString &target, QString *problem)
{
    const QByteArray bytes = logToCsv(entries).toUtf8();
    const auto fail = [&](const QString &reason) {
        if (problem)
            *problem = QStringLiteral("%1 cannot be written (%2).")
                           .arg(target == QLatin1String("-") ? QStringLiteral("Standard output") : target, reason);
        return false;
    };
    if (writesInPlace(target)) {
        // Appending does not truncate: a file behind /dev/stdout that the
        // shell opened to append to keeps what it had.
        QFile out;
        bool opened = false;
        if (target == QLatin1String("-")) {
            opened = out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
        } else {
            out.setFileName(target);
            opened = out.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
        }
        if (!opened)
            return fail(out.errorString());
        if (!writeWhole(out, bytes))
            return fail(out.errorString());
        return true;
    }
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return fail(out.errorString());
    if (!writeWhole(out, bytes))
        return fail(out.errorString());
    if (!out.commit())
        return fail(out.errorString());
    return true;
}

} // namespace vk
