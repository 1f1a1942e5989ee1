#include "app/batch.h"

#include <algorithm>
#include <optional>

#include "check/check_json.h"
#include "check/derivation.h"
#include "check/din740.h"
#include "check/result_pages.h"
#include "check/sizing.h"
#include "console/json.h"
#include "console/number.h"
#include "console/page_capture.h"
#include "coupling/case_file.h"
#include "coupling/case_link.h"
#include "coupling/fields.h"
#include "coupling/series.h"

namespace {

// A CSV field as RFC 4180 writes it: in quotes when it holds one, a comma
// or a line end.
std::string csvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + '"';
}

std::string csvHeader() {
  std::string out = "file,name,size";
  for (const Field& f : kFields) out += std::string(",") + f.name;
  for (const PrintedResult& r : kPrintedResults) out += std::string(",") + r.name;
  for (const CheckRule& rule : kChecks) out += std::string(",okay ") + rule.valueName;
  return out + "\r\n";
}

std::string csvRow(const std::string& file, const CaseLabel& label,
                   const CouplingData& data, const CheckResults& results) {
  std::string out =
      csvField(file) + ',' + csvField(label.name) + ',' + csvField(label.size);
  for (const Field& f : kFields) out += ',' + exactValue(data, f);
  for (const PrintedResult& r : kPrintedResults)
    out += ',' + shortestReal(results.*r.value);
  for (const CheckOutcome& c : checkOutcomes(data, results))
    out += c.okay ? ",okay" : ",nicht okay";
  return out + "\r\n";
}

// The sizes of `series` for `data`, a line each, and the smallest passing.
std::string sizesText(const CouplingData& data, const Series& series,
                      const std::string& name, bool& anyPasses) {
  std::string out = "Baugroessen aus " + name + ":\n";
  const std::vector<SizeCheck> checks = checkSizes(data, series.sizes);
  for (std::size_t k = 0; k < checks.size(); ++k) {
    out += series.sizes[k].name + ":";
    for (std::size_t c = 0; c < checks[k].checks.size(); ++c)
      out += std::string("  ") + kChecks[c].brief + " " + shareText(checks[k].checks[c]);
    out += checks[k].okay ? "  passt\n" : "  passt nicht\n";
  }
  const std::optional<std::size_t> smallest = smallestPassing(checks);
  anyPasses = smallest.has_value();
  out += smallest ? "Kleinste passende Baugroesse: " + series.sizes[*smallest].name + "\n"
                  : std::string("Keine Baugroesse besteht alle sechs Pruefungen.\n");
  return out;
}

}  // namespace

LoadedCase loadCase(const InputFile& file, CouplingData& data, CaseLabel* label) {
  LoadedCase loaded;
  if (!file.read) {
    loaded.status = 1;
    loaded.errors = "tavro: " + file.name + ": " + file.error + "\n";
    return loaded;
  }
  const CaseFileReading reading = readCaseFile(file.bytes, data, label);
  for (const CaseFileProblem& p : reading.problems) {
    loaded.errors +=
        "tavro: " + file.name + ":" + std::to_string(p.line) + ": " + p.what + "\n";
  }
  if (!reading.problems.empty()) {
    loaded.status = 2;
    return loaded;
  }
  if (!reading.missing.empty()) {
    std::string names;
    for (const std::string& name : reading.missing)
      names += (names.empty() ? "" : ", ") + name;
    loaded.errors = "tavro: " + file.name +
                    ": nicht gesetzt, es gelten die Werte des Beispielfalls: " + names +
                    "\n";
  }
  loaded.loaded = true;
  return loaded;
}

LoadedCase loadLink(const std::string& link, CouplingData& data, CaseLabel* label) {
  const std::size_t hash = link.find('#');
  const std::string fragment = hash == std::string::npos ? link : link.substr(hash + 1);
  CouplingData read = data;
  CaseLabel labelRead;
  LoadedCase loaded;
  for (const std::string& part : readCaseLink(fragment, read, &labelRead))
    loaded.errors += "tavro: --case: nicht gelesen: " + part + "\n";
  if (!loaded.errors.empty()) {
    loaded.status = 2;
    return loaded;
  }
  data = read;
  if (label != nullptr) *label = labelRead;
  loaded.loaded = true;
  return loaded;
}

BatchRun runChecks(const Options& options, const std::vector<InputFile>& cases,
                   const InputFile* series) {
  BatchRun run;
  bool inputError = false;
  bool notLoaded = false;
  bool notOkay = false;
  Series sizes;
  if (series != nullptr) {
    if (!series->read) {
      run.errors = "tavro: " + series->name + ": " + series->error + "\n";
      run.status = 1;
      return run;
    }
    sizes = readSeries(series->bytes);
    for (const IgnoredLine& line : sizes.ignored) {
      run.errors += "tavro: " + series->name + ":" + std::to_string(line.line) + ": " +
                    line.reason + "\n";
    }
  }

  if (options.format == Options::Format::kCsv) run.output = csvHeader();
  for (const InputFile& file : cases) {
    CouplingData data{};
    resetToDefaults(data);
    CaseLabel label;
    const LoadedCase loaded = loadCase(file, data, &label);
    run.errors += loaded.errors;
    inputError = inputError || loaded.status == 1;
    notLoaded = notLoaded || loaded.status == 2;
    if (!loaded.loaded) continue;

    const CheckResults results = checkCoupling(data);
    // With a series the sizes decide: the case's own coupling is one choice.
    if (series == nullptr) {
      for (const CheckOutcome& c : checkOutcomes(data, results))
        notOkay = notOkay || !c.okay;
    }
    switch (options.format) {
      case Options::Format::kCsv:
        run.output += csvRow(file.name, label, data, results);
        break;
      case Options::Format::kJson: {
        JsonWriter json;
        json.beginObject().key("file").string(file.name);
        json.key("name").string(label.name).key("size").string(label.size).key("case");
        writeCase(json, data);
        json.key("results");
        writeResults(json, results);
        json.key("checks");
        writeChecks(json, data, results);
        if (options.derivation) {
          json.key("steps");
          writeSteps(json, data);
        }
        if (series != nullptr) {
          std::optional<std::size_t> smallest;
          json.key("sizes");
          writeSizes(json, data, sizes, 0, sizes.sizes.size(), smallest);
          json.key("smallest");
          if (smallest) {
            json.integer(static_cast<long long>(*smallest));
          } else {
            json.null();
          }
          notOkay = notOkay || !smallest;
        }
        run.output += json.endObject().text() + "\n";
        break;
      }
      case Options::Format::kText: {
        run.output += "== " + file.name + "\n";
        if (!label.name.empty()) run.output += "Bezeichnung: " + label.name + "\n";
        if (!label.size.empty()) run.output += "Baugroesse: " + label.size + "\n";
        CheckResults scratch{};
        for (const std::string& page :
             pagesOf([&](Console& c) { computeCommand(c, data, scratch); }))
          run.output += page;
        if (options.derivation) run.output += "Rechenweg:\n" + derivationText(data);
        if (series != nullptr) {
          bool anyPasses = false;
          run.output += sizesText(data, sizes, series->name, anyPasses);
          notOkay = notOkay || !anyPasses;
        }
        break;
      }
    }
  }
  run.status = inputError ? 1 : notLoaded ? 2 : notOkay ? 3 : 0;
  return run;
}
