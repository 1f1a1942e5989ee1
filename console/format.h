#pragma once

#include <string>

// Value lines: a format with exactly one conversion, "%g" for a real and
// "%d" for an integer, and the text around it as it stands.

// Appends `format` with its "%g" replaced by `value` as printf's "%g" shows
// it (six significant digits), except that every NaN is "nan", whatever its
// sign bit and whatever the C library would print.
void appendValue(std::string& out, const char* format, double value);

// Appends `format` with its "%d" replaced by `value` in decimal.
void appendValue(std::string& out, const char* format, int value);

// "%g" of `value` alone, spelled as appendValue spells it.
std::string formatReal(double value);
