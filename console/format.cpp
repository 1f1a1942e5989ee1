#include "console/format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

// Wide enough for any double in "%g" form ("-1.23457e-308") and any int.
constexpr std::size_t kNumberSize = 32;

// Appends the format's text before and after its one two-character
// conversion, with `number` in between.
void substitute(std::string& out, const char* format, std::string_view number) {
  const char* conversion = std::strchr(format, '%');
  if (conversion == nullptr) {  // no conversion: the text alone
    out.append(format);
    return;
  }
  out.append(format, static_cast<std::size_t>(conversion - format));
  out.append(number);
  out.append(conversion + 2);
}

// The quick way for the usual case, a value that is a decimal of at most six
// significant digits in "%g"'s fixed range (2.3, 1200, 0.0075): if m / 10^k
// is the value for an m below 10^6, the decimal m * 10^-k is within half a
// unit in the last place of it, so rounding the exact value to six digits
// gives that decimal, as "%g" does. Writes it and returns the end, or null
// when the value is not such a decimal.
char* writeShortDecimal(char* out, double value) {
  constexpr double kPowers[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
  const double magnitude = std::fabs(value);
  if (!(magnitude >= 1e-4 && magnitude < 1e6)) return nullptr;
  for (int k = 0; k < 10; ++k) {
    // Below 10^15, so the conversion cannot overflow; where adding 0.5
    // rounds wrongly, the exact test below fails, which costs only speed.
    const auto digits = static_cast<long long>(
        magnitude * kPowers[k] + 0.5);      // NOLINT(bugprone-incorrect-roundings)
    if (digits >= 1000000) return nullptr;  // more than six digits
    if (static_cast<double>(digits) / kPowers[k] != magnitude) continue;
    const auto unit = static_cast<long long>(kPowers[k]);
    if (value < 0) *out++ = '-';
    out = std::to_chars(out, out + 8, digits / unit).ptr;
    if (k == 0) return out;
    *out++ = '.';
    for (long long place = unit / 10; place > 0; place /= 10) {
      *out++ = static_cast<char>('0' + digits / place % 10);
    }
    return out;
  }
  return nullptr;
}

std::string_view realText(double value, char (&buffer)[kNumberSize]) {
  // A NaN has no sign worth showing, though C libraries print one.
  if (std::isnan(value)) return "nan";
  char* end = writeShortDecimal(buffer, value);
  if (end == nullptr) {
#if defined(__cpp_lib_to_chars)
    // to_chars in general form with precision 6 is exactly "%g" (C locale).
    end =
        std::to_chars(buffer, buffer + kNumberSize, value, std::chars_format::general, 6)
            .ptr;
#else
    // A C++ library without floating-point to_chars (the browser build's):
    // the C library's "%g", exact as well (the program never sets a locale).
    end = buffer + std::snprintf(buffer, kNumberSize, "%g", value);
#endif
  }
  return {buffer, static_cast<std::size_t>(end - buffer)};
}

}  // namespace

void appendValue(std::string& out, const char* format, double value) {
  char buffer[kNumberSize];
  substitute(out, format, realText(value, buffer));
}

void appendValue(std::string& out, const char* format, int value) {
  char buffer[kNumberSize];
  const auto result = std::to_chars(buffer, buffer + kNumberSize, value);
  substitute(out, format, {buffer, static_cast<std::size_t>(result.ptr - buffer)});
}

std::string formatReal(double value) {
  char buffer[kNumberSize];
  return std::string(realText(value, buffer));
}
