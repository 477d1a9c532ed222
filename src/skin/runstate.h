#pragma once

#include "platform/textrect.h"
#include "stage/factorlength.h"

#include <QDomDocument>

namespace vk {

// State shared by the windows of one program run. Owned by the application
// and handed to the windows by reference.
struct RunState {
    bool timerEnabled = true;  // the clock display was chosen at START
    // Each factor's digits: the choice the run starts with (--digits), then
    // the one chosen at each START.
    int factorDigits = kMostFactorDigits;
    bool stageActive = false;  // from START to BACK; selects the main window's look
    QDomDocument problemDoc;   // the problem of the current or last stage
    TextRect textRect;
};

} // namespace vk
