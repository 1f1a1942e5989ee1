#pragma once

#include "check/din740.h"
#include "console/device.h"
#include "coupling/coupling_data.h"

// Watches a session from outside (the browser page): it is told the case at
// the start and after every command, and the full check of the case each
// time the compute command starts, even when the user then leaves page 1.
class SessionObserver {
 public:
  virtual ~SessionObserver() = default;
  virtual void caseChanged(const CouplingData& data) = 0;
  virtual void computed(const CouplingData& data, const CheckResults& results) = 0;
};

// Runs one whole session on `device`: sets the example case, prints the
// banner and serves the menu until q or the end of the input.
void runSession(Device& device);

// The same, starting with the case `start` and telling `observer`.
void runSession(Device& device, const CouplingData& start, SessionObserver* observer);
