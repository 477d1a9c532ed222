#include "shell/progressmode.h"

#include <cstdio>

namespace vk {

int showProgress(const LogContents &contents)
{
    // Until the progress window is here: the number of stages kept.
    if (!contents.problem.isEmpty())
        std::fprintf(stderr, "vendrakul: %s\n", qPrintable(contents.problem));
    std::printf("%lld stages in the training log\n", static_cast<long long>(contents.entries.size()));
    return 0;
}

} // namespace vk
