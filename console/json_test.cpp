#include "console/json.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

#include "console/json_syntax.h"

namespace {

TEST(Json, WritesValidJsonWithEscapesNonFiniteNumbersAndNesting) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const struct {
    const char* title;
    std::function<void(JsonWriter&)> write;
    std::string json;
  } cases[] = {
      {"quote, backslash and control characters escaped; the rest as it is",
       [](JsonWriter& j) { j.string("a\"b\\c/\n\t\x01\x1f\x7f kgm² → 😀"); },
       "\"a\\\"b\\\\c/\\u000a\\u0009\\u0001\\u001f\\u007f kgm² → 😀\""},
      {"a byte that starts no UTF-8 character",
       [](JsonWriter& j) { j.string("Pumpe\xE4.txt"); }, "\"Pumpe\\ufffd.txt\""},
      {"overlong, surrogate, above U+10FFFF, cut short, a lone continuation",
       [](JsonWriter& j) {
         j.beginArray()
             .string("\xC0\xAF")
             .string("\xED\xA0\x80")
             .string("\xF4\x90\x80\x80");
         j.string("\xE2\x82").string("\x80").endArray();
       },
       "[\"\\ufffd\\ufffd\",\"\\ufffd\\ufffd\\ufffd\",\"\\ufffd\\ufffd\\ufffd\\ufffd\","
       "\"\\ufffd\\ufffd\",\"\\ufffd\"]"},
      {"numbers exact, the ones JSON has no word for as objects",
       [](JsonWriter& j) {
         j.beginArray().number(0.1).number(-0.0).number(1e300).number(5e-324);
         j.number(std::numeric_limits<double>::quiet_NaN()).number(kInf).number(-kInf);
         j.integer(-42).endArray();
       },
       "[0.1,-0,1e+300,5e-324,{\"nonFinite\":\"NaN\"},"
       "{\"nonFinite\":\"Infinity\"},{\"nonFinite\":\"-Infinity\"},-42]"},
      {"commas between members and elements at every depth",
       [](JsonWriter& j) {
         j.beginObject().key("a").beginArray().integer(1).beginObject().endObject();
         j.beginArray().endArray().beginArray().null().boolean(false).endArray();
         j.endArray().key("b\"").number(kInf).key("c").boolean(true);
         j.key("d").raw("[1,2]").endObject();
       },
       "{\"a\":[1,{},[],[null,false]],\"b\\\"\":{\"nonFinite\":\"Infinity\"},"
       "\"c\":true,\"d\":[1,2]}"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    JsonWriter json;
    c.write(json);
    EXPECT_EQ(json.text(), c.json);
    EXPECT_TRUE(JsonSyntax(json.text()).whole());
  }
}

// The judge the fuzzer and the tests use takes JSON and nothing near it.
TEST(JsonSyntax, TakesJsonAndNothingElse) {
  for (const char* json :
       {"0", "-0.0e-0", "1E+5", "12.5e3", " [ 1 , 2 ]\r\n", "{\"a\" : {}, \"b\":[]}",
        "\"\\u00e4\\\"\\\\\\/\\b\\f\\n\\r\\t\"", "\"kgm² 😀\"", "true", "null"}) {
    EXPECT_TRUE(JsonSyntax(json).whole()) << json;
  }
  for (const char* bad : {"",          "1 .5",       "1e 5",
                          "1e",        "- 1",        "-",
                          "01",        "1.",         ".5",
                          "+1",        "1.e5",       "tru",
                          "nulll",     "[1,]",       "[1 2]",
                          "{\"a\" 1}", "{a:1}",      "{\"a\":1,}",
                          "\"\\u12\"", "\"\\x\"",    "\"tab\there\"",
                          "\"open",    "\"\xE4\"",   "\"\xED\xA0\x80\"",
                          "[1]]",      "{\"a\":NaN}"}) {
    EXPECT_FALSE(JsonSyntax(bad).whole()) << bad;
  }
}

}  // namespace
