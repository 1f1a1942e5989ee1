// Runs a whole session (menu, dialogs, display, check) on the fuzzer's bytes,
// once as a script and once as typed at the browser page's line discipline;
// then reads the bytes as a link's case, as the page does, and hands that
// case's check over. The end of the bytes ends the session, so every input
// must return.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/session.h"
#include "console/device.h"
#include "terminal/line_discipline.h"
#include "web/page_data.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ScriptDevice script(bytes);
  runSession(script);
  ScriptDevice keyboard(bytes);
  LineDiscipline typed(keyboard);
  runSession(typed);
  CouplingData linked{};
  resetToDefaults(linked);
  readCaseLink(bytes, linked);
  checkMessage(linked, checkCoupling(linked));
  return 0;
}
