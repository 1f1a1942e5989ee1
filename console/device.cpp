#include "console/device.h"

#include <algorithm>
#include <cstring>

long ScriptDevice::read(char* buffer, std::size_t size, int /*waitMs*/) {
  const std::size_t count = std::min(size, input_.size());
  if (count == 0) return 0;
  std::memcpy(buffer, input_.data(), count);
  input_.remove_prefix(count);
  return static_cast<long>(count);
}
