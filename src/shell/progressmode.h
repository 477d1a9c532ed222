#pragma once

#include "traininglog/traininglog.h"

namespace vk {

// --progress: shows what the training log holds. The exit status.
int showProgress(const LogContents &contents);

} // namespace vk
