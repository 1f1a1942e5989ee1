#pragma once

#include "console/console.h"
#include "coupling/coupling_data.h"

// Shows every field of the case on three pages, each ended by the pager;
// x at a pager ends the display. Changes nothing.
void showCurrentValues(Console& console, const CouplingData& data);
