#include "shell/progressmode.h"

#include "ui/progress/progresswindow.h"

#include <QApplication>

#include <cstdio>

namespace vk {

int showProgress(const LogContents &contents)
{
    if (!contents.problem.isEmpty())
        std::fprintf(stderr, "vendrakul: %s\n", qPrintable(contents.problem));
    QList<StageReport> reports;
    reports.reserve(contents.entries.size());
    for (const LogEntry &entry : contents.entries)
        reports.append(entry.report);
    ProgressWindow window(reports, contents.problem, contents.unreadable);
    window.show();
    return QApplication::exec();
}

} // namespace vk
