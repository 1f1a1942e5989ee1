#pragma once

#include <string>
#include <string_view>

// Numbers as text: read with the program's rules (a German user's decimal
// comma included), and written so that they read back exactly.

// Reads a real at `start` with strtod's rules, the first comma of the rest
// of the NUL-terminated text counting as a decimal point ("1,5" is 1.5).
// Stores it into `value` and returns the end of the number; returns `start`
// and leaves `value` alone when there is no number there. The text is the
// same afterwards (the comma is swapped back).
char* readReal(char* start, double& value);

// Reads a decimal integer at `start` with strtol's rules (base 10); an
// integer ends at a comma as at a point. Stores it into `value` and returns
// its end; returns `start` and leaves `value` alone when there is none or it
// does not fit in an int.
const char* readInteger(const char* start, int& value);

// Reads `text`, which must be one whole number with nothing before or after
// it (not even a blank), as readReal or readInteger do; false, and `value`
// left alone, otherwise. (The real's text is a copy: readReal swaps a comma
// in it for a moment.)
bool readWhole(std::string text, double& value);
bool readWhole(const std::string& text, int& value);

// A short text that strtod reads back as `value` bit for bit, as people
// write numbers that are read back: for magnitudes from 1e-5 to below 1e15
// the shortest exact digits without an exponent ("0.1", "10000", "0.00001",
// "220.8336", "0.30000000000000004"); beyond, "%.Ng" with the smallest such
// N, or the same digits without the exponent where that is shorter ("1e+308",
// "5e-324"); never a text that reads two ways (readsTwoWays): 1.125 is
// "1.1250". "-0" keeps its sign; infinities are "inf" and "-inf", every NaN
// "nan".
std::string shortestReal(double value);

// True when `text` may be meant with a point or comma between thousands as
// well as with a decimal mark: an optional sign, one to three digits not
// starting with 0, a point or a comma, exactly three digits, and nothing
// else ("1.500" is 1500 or 1.5; "0.500", "1.5000" and "1500.125" are not).
bool readsTwoWays(std::string_view text);

// True when `a` and `b` have the same bits: -0 is not 0, and a NaN equals
// only the same NaN.
bool sameBits(double a, double b);
