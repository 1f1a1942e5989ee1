#pragma once

#include <string>

#include "check/din740.h"
#include "console/console.h"
#include "console/device.h"
#include "coupling/coupling_data.h"
#include "coupling/fields.h"

// Watches a session from outside (the browser page): it is told the case at
// the start and after every command, the full check of the case each time
// the compute command starts (even when the user then leaves page 1), and
// what the session waits for each time it is about to wait for input: at a
// number prompt with the field asked for and the case as it is then, and
// each time with what the page should say of the last line typed at a
// prompt (coupling/line_notice.h; empty when it was read as typed).
class SessionObserver {
 public:
  virtual ~SessionObserver() = default;
  virtual void caseChanged(const CouplingData& data) = 0;
  virtual void computed(const CouplingData& data, const CheckResults& results) = 0;
  virtual void waiting(Wait what, const Field* field, const CouplingData& data,
                       const std::string& notice) = 0;
};

// Runs one whole session on `device`: sets the example case, prints the
// banner and serves the menu until q or the end of the input.
void runSession(Device& device);

// The same, starting with the case `start` and telling `observer`.
void runSession(Device& device, const CouplingData& start, SessionObserver* observer);
