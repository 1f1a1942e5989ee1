// Runs a whole session (menu, dialogs, display, check) on the fuzzer's bytes,
// once as a script and once as typed at the browser page's line discipline.
// The end of the bytes ends the session, so every input must return.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/session.h"
#include "console/device.h"
#include "terminal/line_discipline.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ScriptDevice script(bytes);
  runSession(script);
  ScriptDevice keyboard(bytes);
  LineDiscipline typed(keyboard);
  runSession(typed);
  return 0;
}
