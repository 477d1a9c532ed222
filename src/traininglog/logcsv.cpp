#include "traininglog/logcsv.h"

#include <QSaveFile>
#include <QStringList>

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

} // namespace

QString logToCsv(const QList<LogEntry> &entries)
{
    const QLatin1String lineEnd("\r\n");
    QString csv = QStringLiteral("id,started_utc,seconds_used,clock_shown,factor1,factor2,answer,product,digits_matched,verdict")
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
        };
        QStringList row;
        row.reserve(fields.size());
        for (const QString &f : fields)
            row.append(field(f));
        csv += row.join(QLatin1Char(',')) + lineEnd;
    }
    return csv;
}

bool writeLogCsv(const QList<LogEntry> &entries, const QString &file, QString *problem)
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        if (problem)
            *problem = QStringLiteral("%1 cannot be written (%2).").arg(file, out.errorString());
        return false;
    }
    out.write(logToCsv(entries).toUtf8());
    if (!out.commit()) {
        if (problem)
            *problem = QStringLiteral("%1 cannot be written (%2).").arg(file, out.errorString());
        return false;
    }
    return true;
}

} // namespace vk
