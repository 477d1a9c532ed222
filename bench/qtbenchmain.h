#pragma once

// The main() of a benchmark that needs a QApplication: offscreen unless
// QT_QPA_PLATFORM says otherwise, then every benchmark asked for.
#include <QApplication>
#include <QByteArray>

#include <benchmark/benchmark.h>

namespace vkbench {

inline int runInApplication(int argc, char **argv, const char *platform = "offscreen")
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", platform);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace vkbench
