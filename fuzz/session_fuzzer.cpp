// Runs a whole session (menu, dialogs, display, check) on the fuzzer's bytes.
// The end of the bytes ends the session, so every input must return.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/session.h"
#include "console/device.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ScriptDevice device(std::string_view(reinterpret_cast<const char*>(data), size));
  runSession(device);
  return 0;
}
