#pragma once

#include <cmath>
#include <string>
#include <type_traits>

#include "check/din740.h"
#include "coupling/coupling_data.h"

// Formulas as data: each formula of the check is one expression, built from
// the case's fields, earlier results, numbers and + - * / sqrt and squares.
// The same expression is evaluated for the value (inline, no cost over
// writing the arithmetic out) and written as text for the way to the
// result, so the two cannot drift apart. Evaluation keeps the order the
// expression is written in, so a value has the same bits as the arithmetic
// written out in that order.
namespace formula {

// What an expression is evaluated on: the case and the results so far.
struct Context {
  const CouplingData& data;
  const CheckResults& results;
};

// How an expression is written: over the symbols ("TAS / (rJ + 1)") or with
// each symbol's value as the program prints it ("239 / (2.3 + 1)"); as plain
// text that a reader, a spreadsheet or a test can evaluate (with pi, ^ and
// sqrt(...)), or as MathML Core, set as a textbook sets it.
struct Style {
  bool values;  // each symbol replaced by its printed value
  bool mathml;  // MathML elements instead of plain text
};

// Writes `value` as the program prints it ("%g"), a negative one in
// parentheses so that it reads as one factor.
void writeValue(std::string& out, double value, Style style);
// Writes a symbol: plain as it stands; in MathML its first letter with the
// rest as an index (T with SA), psi and pi as Greek letters.
void writeSymbol(std::string& out, const char* name, Style style);
// Writes a term: its symbol, or with style.values its value.
void writeTerm(std::string& out, const char* name, double value, Style style);
// Writes an opening or closing parenthesis, or an operator (+ - * / ^ or a
// comparison); * is set as a centred dot in MathML.
void writeOperator(std::string& out, const char* op, Style style);

// How tightly a node binds, for the parentheses the plain text needs.
enum Precedence { kSum = 1, kProduct = 2, kPower = 3, kAtom = 4 };

// Every node is a Node, so that the operators below take only expressions.
struct Node {};
template <typename T>
concept Expression = std::is_base_of_v<Node, T>;

// A number: written as its value, or by its name (pi).
struct Number : Node {
  double value;
  const char* name;  // null: written as the value; "pi" or "pi^2"
  static constexpr int precedence = kAtom;
  constexpr double operator()(const Context& /*c*/) const { return value; }
  void write(std::string& out, Style style, const Context& c) const;
};

// A field of the case, a real or an integer taken as a real.
template <typename T>
struct Input : Node {
  const char* name;
  T CouplingData::*field;
  static constexpr int precedence = kAtom;
  constexpr double operator()(const Context& c) const { return c.data.*field; }
  void write(std::string& out, Style style, const Context& c) const {
    writeTerm(out, name, (*this)(c), style);
  }
};
using Real = Input<double>;
using Integer = Input<int>;

// A result computed before, by its symbol.
struct Result : Node {
  const char* name;
  double CheckResults::*field;
  const char* unit;  // for the words of a comparison: "1/s"
  static constexpr int precedence = kAtom;
  constexpr double operator()(const Context& c) const { return c.results.*field; }
  void write(std::string& out, Style style, const Context& c) const {
    writeTerm(out, name, (*this)(c), style);
  }
};

// A quantity that has no place in the results: written by its name,
// evaluated by its expression wherever it is used.
template <Expression E>
struct Named : Node {
  const char* name;
  E expression;
  static constexpr int precedence = kAtom;
  constexpr double operator()(const Context& c) const { return expression(c); }
  void write(std::string& out, Style style, const Context& c) const {
    writeTerm(out, name, (*this)(c), style);
  }
};

// a + b, a - b, a * b, a / b; written left to right with the parentheses the
// order of evaluation needs (a right operand of the same precedence gets
// them too, so a reader evaluates in the program's order).
template <char Op, Expression L, Expression R>
struct Binary : Node {
  L left;
  R right;
  static constexpr int precedence = Op == '+' || Op == '-' ? kSum : kProduct;
  static constexpr bool isFraction = Op == '/';
  constexpr double operator()(const Context& c) const {
    if constexpr (Op == '+') return left(c) + right(c);
    if constexpr (Op == '-') return left(c) - right(c);
    if constexpr (Op == '*') return left(c) * right(c);
    if constexpr (Op == '/') return left(c) / right(c);
  }
  void write(std::string& out, Style style, const Context& c) const {
    constexpr char op[] = {Op, '\0'};
    if (Op == '/' && style.mathml) {  // a fraction bar groups both parts
      out += "<mfrac><mrow>";
      left.write(out, style, c);
      out += "</mrow><mrow>";
      right.write(out, style, c);
      out += "</mrow></mfrac>";
      return;
    }
    part(out, style, c, left, L::precedence < precedence);
    writeOperator(out, op, style);
    part(out, style, c, right, R::precedence <= precedence);
  }

 private:
  template <Expression E>
  static void part(std::string& out, Style style, const Context& c, const E& e,
                   bool parenthesise) {
    // In MathML a fraction needs none: its bar groups it.
    if constexpr (requires { E::isFraction; }) {
      if (E::isFraction && style.mathml) parenthesise = false;
    }
    if (parenthesise) writeOperator(out, "(", style);
    e.write(out, style, c);
    if (parenthesise) writeOperator(out, ")", style);
  }
};

// sqrt(a).
template <Expression A>
struct Root : Node {
  A argument;
  static constexpr int precedence = kAtom;
  double operator()(const Context& c) const { return std::sqrt(argument(c)); }
  void write(std::string& out, Style style, const Context& c) const {
    out += style.mathml ? "<msqrt>" : "sqrt(";
    argument.write(out, style, c);
    out += style.mathml ? "</msqrt>" : ")";
  }
};

// a^2, taken with the power function as the program always has.
template <Expression A>
struct Square : Node {
  A base;
  static constexpr int precedence = kPower;
  double operator()(const Context& c) const { return std::pow(base(c), 2); }
  void write(std::string& out, Style style, const Context& c) const {
    if (style.mathml) out += "<msup><mrow>";
    const bool parenthesise = A::precedence < kAtom;
    if (parenthesise) writeOperator(out, "(", style);
    base.write(out, style, c);
    if (parenthesise) writeOperator(out, ")", style);
    out += style.mathml ? "</mrow><mn>2</mn></msup>" : "^2";
  }
};

// a <= b or a == b, the condition of a choice.
template <char Op, Expression L, Expression R>
struct Compare : Node {
  L left;
  R right;
  constexpr bool operator()(const Context& c) const {
    if constexpr (Op == '<') return left(c) <= right(c);
    if constexpr (Op == '=') return left(c) == right(c);
  }
};

// One of two expressions, by a condition; each branch with the words that
// say when it applies (null: the comparison with its values says it).
template <Expression C, Expression A, Expression B>
struct Choice : Node {
  C condition;
  const char* whenTrue;
  A ifTrue;
  const char* whenFalse;
  B ifFalse;
  static constexpr int precedence =
      A::precedence < B::precedence ? A::precedence : B::precedence;
  constexpr double operator()(const Context& c) const {
    return condition(c) ? ifTrue(c) : ifFalse(c);
  }
  // Writes the branch that applies.
  void write(std::string& out, Style style, const Context& c) const {
    if (condition(c)) {
      ifTrue.write(out, style, c);
    } else {
      ifFalse.write(out, style, c);
    }
  }
  // Which case applied, in words: "Anfahren lastfrei" (the words of the
  // branch), or for a choice without words for its first branch the
  // comparison, "ferr = 50 1/s > 10 1/s", and "ferr ist keine Zahl:
  // Wurzelzweig" (the second branch's words) where it cannot be written.
  void describe(std::string& out, const Context& c) const;
};

// How expressions are put together in the check's own notation.
template <Expression L, Expression R>
constexpr Binary<'+', L, R> operator+(L l, R r) {
  return {{}, l, r};
}
template <Expression L, Expression R>
constexpr Binary<'-', L, R> operator-(L l, R r) {
  return {{}, l, r};
}
template <Expression L, Expression R>
constexpr Binary<'*', L, R> operator*(L l, R r) {
  return {{}, l, r};
}
template <Expression L, Expression R>
constexpr Binary<'/', L, R> operator/(L l, R r) {
  return {{}, l, r};
}

constexpr Number number(double value) { return {{}, value, nullptr}; }
template <Expression R>
constexpr auto operator+(double l, R r) {
  return number(l) + r;
}
template <Expression L>
constexpr auto operator+(L l, double r) {
  return l + number(r);
}
template <Expression R>
constexpr auto operator-(double l, R r) {
  return number(l) - r;
}
template <Expression R>
constexpr auto operator*(double l, R r) {
  return number(l) * r;
}
template <Expression R>
constexpr auto operator/(double l, R r) {
  return number(l) / r;
}
template <Expression L>
constexpr auto operator/(L l, double r) {
  return l / number(r);
}
template <Expression L>
constexpr Compare<'<', L, Number> operator<=(L l, double r) {
  return {{}, l, number(r)};
}
template <Expression L>
constexpr Compare<'=', L, Number> operator==(L l, double r) {
  return {{}, l, number(r)};
}

template <Expression A>
constexpr Root<A> sqrt(A a) {
  return {{}, a};
}
template <Expression A>
constexpr Square<A> square(A a) {
  return {{}, a};
}
template <Expression E>
constexpr Named<E> named(const char* name, E e) {
  return {{}, name, e};
}
template <Expression C, Expression A, Expression B>
constexpr Choice<C, A, B> choose(C c, const char* whenTrue, A a, const char* whenFalse,
                                 B b) {
  return {{}, c, whenTrue, a, whenFalse, b};
}
template <Expression C, Expression B>
constexpr auto choose(C c, const char* whenTrue, double a, const char* whenFalse, B b) {
  return choose(c, whenTrue, number(a), whenFalse, b);
}

template <Expression C, Expression A, Expression B>
void Choice<C, A, B>::describe(std::string& out, const Context& c) const {
  const bool holds = condition(c);
  const Style plain{true, false};
  if (whenTrue != nullptr) {
    // "Anfahren lastfrei": the switch's meaning, not its name
    out += holds ? whenTrue : whenFalse;
    return;
  }
  const double left = condition.left(c);
  if (left != left) {
    // A comparison with a NaN is false: name why its other branch applies.
    out += condition.left.name;
    out += " ist keine Zahl: ";
    out += whenFalse;
    return;
  }
  // "ferr = 50 1/s > 10 1/s"
  std::string unit;
  if constexpr (requires { condition.left.unit; })
    unit = std::string(" ") + condition.left.unit;
  out += condition.left.name;
  out += " = ";
  writeValue(out, left, plain);
  out += unit;
  out += holds ? " ≤ " : " > ";
  writeValue(out, condition.right(c), plain);
  out += unit;
}

}  // namespace formula
