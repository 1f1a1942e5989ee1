#include "check/formula.h"

#include <cstring>

#include "console/format.h"

namespace formula {

void writeValue(std::string& out, double value, Style style) {
  const std::string text = formatReal(value);
  const bool negative = text.front() == '-';
  if (negative) writeOperator(out, "(", style);
  if (style.mathml) {
    out += "<mn>";
    out += text;
    out += "</mn>";
  } else {
    out += text;
  }
  if (negative) writeOperator(out, ")", style);
}

void writeSymbol(std::string& out, const char* name, Style style) {
  if (!style.mathml) {
    out += name;
    return;
  }
  // Greek letters, and psi2 as psi squared.
  if (std::strcmp(name, "pi") == 0) {
    out += "<mi>π</mi>";
  } else if (std::strcmp(name, "psi") == 0) {
    out += "<mi>ψ</mi>";
  } else if (std::strcmp(name, "psi2") == 0) {
    out += "<msup><mi>ψ</mi><mn>2</mn></msup>";
  } else if (name[1] == '\0') {
    out += "<mi>";
    out += name;
    out += "</mi>";
  } else {
    out += "<msub><mi>";
    out += name[0];
    out += "</mi><mi>";
    out += name + 1;
    out += "</mi></msub>";
  }
}

void writeOperator(std::string& out, const char* op, Style style) {
  const bool bracket = op[0] == '(' || op[0] == ')';
  if (!style.mathml) {
    if (bracket) {
      out += op;
    } else {
      out += ' ';
      out += op;
      out += ' ';
    }
    return;
  }
  out += "<mo>";
  out += op[0] == '*' ? "·" : op[0] == '-' ? "−" : op;
  out += "</mo>";
}

void writeTerm(std::string& out, const char* name, double value, Style style) {
  if (style.values) {
    writeValue(out, value, style);
  } else {
    writeSymbol(out, name, style);
  }
}

void Number::write(std::string& out, Style style, const Context& /*c*/) const {
  // A constant is written by its name (pi) only over the symbols; with the
  // values, as the program uses it, printed.
  if (name == nullptr || style.values) {
    writeValue(out, value, style);
  } else if (style.mathml && std::strcmp(name, "pi^2") == 0) {
    out += "<msup><mi>π</mi><mn>2</mn></msup>";
  } else {
    writeSymbol(out, name, style);
  }
}

}  // namespace formula
