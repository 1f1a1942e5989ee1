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
  std::string out;
  const double magnitude = std::fabs(value);
  if (magnitude >= 1e-5 && magnitude < 1e15) {
    // As an engineer writes it, without an exponent: the same digits with
    // the point placed ("10000", "0.0001").
    std::snprintf(text, sizeof text, "%.*e", digits - 1, value);
    const char* at = text;
    if (*at == '-') out += *at++;
    std::string mantissa;
    for (; *at != 'e'; ++at) {
      if (*at != '.') mantissa += *at;
    }
    const int power = std::atoi(at + 1);
    if (power < 0) {
      out += "0." + std::string(static_cast<std::size_t>(-power - 1), '0') + mantissa;
    } else if (mantissa.size() <= static_cast<std::size_t>(power) + 1) {
      out += mantissa +
             std::string(static_cast<std::size_t>(power) + 1 - mantissa.size(), '0');
    } else {
      out += mantissa.substr(0, static_cast<std::size_t>(power) + 1) + '.' +
             mantissa.substr(static_cast<std::size_t>(power) + 1);
    }
  } else {
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    out = text;
    // Far from 1 %g's exponent stays unless the plain digits are shorter.
    const char* exponent = std::strchr(text, 'e');
    if (exponent != nullptr) {
      const int power = std::atoi(exponent + 1);
      char plain[352];  // the longest %f of a double, DBL_MAX's 309 digits, and more
      std::snprintf(plain, sizeof plain, "%.*f", std::max(0, digits - 1 - power), value);
      if (std::strlen(plain) < std::strlen(text) && readsBack(plain, value)) out = plain;
    }
  }
  // "1.125" may be read as 1125 by one who writes points between thousands;
  // a zero more ("1.1250") reads one way only, and still exactly.
  if (readsTwoWays(out)) out += '0';
  return out;
}

bool readsTwoWays(std::string_view text) {
  if (text.starts_with('+') || text.starts_with('-')) text.remove_prefix(1);
  const std::size_t mark = text.find_first_of(".,");
  if (mark < 1 || mark > 3 || text.size() != mark + 4 || text[0] == '0') return false;
  for (std::size_t k = 0; k < text.size(); ++k) {
    if (k != mark && (text[k] < '0' || text[k] > '9')) return false;
  }
  return true;
}

bool sameBits(double a, double b) {
  // std::bit_cast is missing from the browser build's C++ library.
  std::uint64_t bitsA = 0;
  std::uint64_t bitsB = 0;
  std::memcpy(&bitsA, &a, sizeof a);
  std::memcpy(&bitsB, &b, sizeof b);
  return bitsA == bitsB;
}
