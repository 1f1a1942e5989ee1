#pragma once

#include "console/device.h"

// Runs one whole session on `device`: sets the example case, prints the
// banner and serves the menu until q or the end of the input.
void runSession(Device& device);
