#include "check/check_csv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "coupling/fields.h"

namespace {

// The fields of one CSV line as a spreadsheet splits them, quotes undone.
std::vector<std::string> split(const std::string& line, char separator) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t k = 0; k < line.size(); ++k) {
    const char c = line[k];
    if (quoted && c == '"' && k + 1 < line.size() && line[k + 1] == '"') {
      fields.back() += '"';
      ++k;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && c == separator) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

TEST(CheckCsv, GermanSpreadsheetsAndScriptsEachGetTheirs) {
  CouplingData data{};
  resetToDefaults(data);
  data.TLN = 100;
  data.TKmax = 1300;
  data.JA = 2.3;
  const CheckResults results = checkCoupling(data);
  CheckResults nan = results;
  nan.PWimax = std::numeric_limits<double>::quiet_NaN();

  const struct {
    const char* title;
    const CsvStyle& style;
    std::string file;
    CaseLabel label;
    const CheckResults& results;
    const char* header;           // its first four columns
    std::vector<std::string> at;  // the row's fields at columns 0, 1, 6, 23, 34, 35, 36
  } cases[] = {
      {"German: semicolons, decimal commas, a byte-order mark",
       kCsvGerman,
       "pumpe, alt.txt",
       {"Pumpe P-1; alt", "B6"},
       results,
       "\xEF\xBB\xBF"
       "file;name;size;TLN",
       {"pumpe, alt.txt", "Pumpe P-1; alt", "2,3", "120", "0,007351120237885053",
        "0,008821344285462064", "okay"}},
      {"German: a name with the separator and a quote",
       kCsvGerman,
       "a;\"b\" Größe.txt",
       {"=HYPERLINK(\"x\";\"y\")", "-B6"},
       nan,
       "\xEF\xBB\xBF"
       "file;name;size;TLN",
       {"a;\"b\" Größe.txt", "'=HYPERLINK(\"x\";\"y\")", "2,3", "120",
        "0,007351120237885053", "nan", "okay"}},
      {"scripts: RFC 4180",
       kCsvForScripts,
       "pumpe, alt.txt",
       {"Pumpe \"P-1\", alt", ""},
       results,
       "file,name,size,TLN",
       {"pumpe, alt.txt", "Pumpe \"P-1\", alt", "2.3", "120", "0.007351120237885053",
        "0.008821344285462064", "okay"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    const std::string header = csvHeader(c.style);
    const std::string row = csvRow(c.style, c.file, c.label, data, c.results);
    ASSERT_TRUE(header.ends_with("\r\n"));
    ASSERT_TRUE(row.ends_with("\r\n"));
    EXPECT_TRUE(header.starts_with(c.header));
    const std::vector<std::string> names =
        split(header.substr(0, header.size() - 2), c.style.separator);
    const std::vector<std::string> fields =
        split(row.substr(0, row.size() - 2), c.style.separator);
    ASSERT_EQ(names.size(), 3 + std::size(kFields) + 12 + 1 + 6);
    ASSERT_EQ(fields.size(), names.size());
    EXPECT_EQ(names[35], "PWimax");
    EXPECT_EQ(names[41], "okay PWimax");
    const std::size_t columns[] = {0, 1, 6, 23, 34, 35, 36};
    for (std::size_t k = 0; k < std::size(columns); ++k)
      EXPECT_EQ(fields[columns[k]], c.at[k]) << names[columns[k]];
    // Numbers carry no other mark, so a spreadsheet sees no thousands.
    for (std::size_t k = 3; k < 36; ++k) {
      EXPECT_EQ(fields[k].find(c.style.decimalMark == ',' ? '.' : ','), std::string::npos)
          << names[k];
    }
  }
}

}  // namespace
