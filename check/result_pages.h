#pragma once

#include "check/din740.h"
#include "console/console.h"
#include "coupling/coupling_data.h"

// The compute command: checks `data` and prints the three result pages with
// the six verdicts, each page ended by the pager. Stage two is computed only
// when the user goes on past page 1; x at a pager ends the command. The
// derived values are left in `results`.
void computeCommand(Console& console, const CouplingData& data, CheckResults& results);
