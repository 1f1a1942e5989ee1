#include "console/number.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

char* readReal(char* start, double& value) {
  char* comma = std::strchr(start, ',');
  if (comma != nullptr) *comma = '.';
  char* end = nullptr;
  const double number = std::strtod(start, &end);
  if (comma != nullptr) *comma = ',';
  if (end != start) value = number;
  return end;
}

const char* readInteger(const char* start, int& value) {
  char* end = nullptr;
  errno = 0;
  const long number = std::strtol(start, &end, 10);
  if (end == start || errno == ERANGE || number < INT_MIN || number > INT_MAX)
    return start;
  value = static_cast<int>(number);
  return end;
}

namespace {

// True when `text` is empty or starts with what strtod and strtol skip.
bool startsBlank(const std::string& text) {
  return text.empty() || text.front() == ' ' ||
         (text.front() >= '\t' && text.front() <= '\r');
}

}  // namespace

bool readWhole(std::string text, double& value) {
  char* start = text.data();  // readReal swaps a comma for a moment
  double number = 0;
  if (startsBlank(text) || readReal(start, number) != start + text.size()) return false;
  value = number;
  return true;
}

bool readWhole(const std::string& text, int& value) {
  int number = 0;
  if (startsBlank(text) ||
      readInteger(text.c_str(), number) != text.c_str() + text.size())
    return false;
  value = number;
  return true;
}

namespace {

// True when strtod reads `text` back as `value`: equal bits, not equal
// values, so that -0 does not come back as 0.
bool readsBack(const char* text, double value) {
  return sameBits(std::strtod(text, nullptr), value);
}

}  // namespace

std::string shortestReal(double value) {
  if (std::isnan(value)) return "nan";
  char text[32];
  int digits = 1;
  for (; digits < 17; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    if (readsBack(text, value)) break;
  }
  std::snprintf(text, sizeof text, "%.*g", digits, value);
  // %g writes 100 as "1e+02": the same digits without an exponent may be
  // shorter ("100"), and are preferred then.
  const char* exponent = std::strchr(text, 'e');
  if (exponent != nullptr) {
    const int power = std::atoi(exponent + 1);
    char plain[352];  // the longest %f of a double, DBL_MAX's 309 digits, and more
    std::snprintf(plain, sizeof plain, "%.*f", std::max(0, digits - 1 - power), value);
    if (std::strlen(plain) < std::strlen(text) && readsBack(plain, value)) return plain;
  }
  return text;
}

bool sameBits(double a, double b) {
  // std::bit_cast is missing from the browser build's C++ library.
  std::uint64_t bitsA = 0;
  std::uint64_t bitsB = 0;
  std::memcpy(&bitsA, &a, sizeof a);
  std::memcpy(&bitsB, &b, sizeof b);
  return bitsA == bitsB;
}
