#include "app/batch.h"

#include <algorithm>
#include <optional>

#include "check/check_csv.h"
#include "check/check_json.h"
#include "check/derivation.h"
#include "check/din740.h"
#include "check/result_pages.h"
#include "check/sizing.h"
#include "console/json.h"
#include "console/number.h"
#include "console/page_capture.h"
#include "console/utf8.h"
#include "coupling/case_file.h"
#include "coupling/case_link.h"
#include "coupling/fields.h"
#include "coupling/series.h"
#include "coupling/text.h"

namespace {

// Appends "tavro: FILE:LINE: WHAT" and a line end to `out`, without ":LINE"
// for a line of 0 (the file as a whole). Piece by piece: GCC 12 at -O3 takes
// ":" + a temporary string for an overlapping copy (-Wrestrict) and the
// Windows build stops.
void sayAbout(std::string& out, const std::string& file, int line,
              const std::string& what) {
  out += "tavro: ";
  out += file;
  if (line > 0) {
    out += ':';
    out += std::to_string(line);
  }
  out += ": ";
  out += what;
  out += '\n';
}

// Why `series`, read from `bytes`, gave no size, for "keine Baugröße gelesen:
// ...". `withLines`: the lines it could not read say more, and are named too.
std::string noSizeReason(const Series& series, const std::string& bytes,
                         bool& withLines) {
  withLines = false;
  if (std::string utf16 = unmarkedUtf16(bytes); !utf16.empty()) return utf16;
  if (series.header == Series::Header::kRefused) return series.ignored.front().reason;
  CouplingData data{};
  if (const CaseFileReading asCase = readCaseFile(bytes, data);
      asCase.problems.empty() && asCase.missing.size() < std::size(kFields))
    return "das ist eine Falldatei, keine Tabelle von Baugrößen";
  withLines = true;
  if (!series.ignored.empty()) {
    return series.ignored.size() == 1
               ? "ihre Zeile ist nicht lesbar"
               : "keine ihrer " + std::to_string(series.ignored.size()) +
                     " Zeilen ist lesbar";
  }
  if (series.header != Series::Header::kNone)
    return "unter der Kopfzeile steht keine Zeile";
  return "die Datei ist leer";
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

namespace {

LoadedCase loadCaseFile(const InputFile& file, CouplingData& data, CaseLabel* label) {
  LoadedCase loaded;
  if (!file.read) {
    loaded.status = 1;
    loaded.errors = "tavro: " + asUtf8(file.name) + ": " + file.error + "\n";
    return loaded;
  }
  const std::string shown = asUtf8(file.name);
  const CaseFileReading reading = readCaseFile(file.bytes, data, label);
  for (const CaseFileProblem& p : reading.problems)
    sayAbout(loaded.errors, shown, p.line, p.what);
  if (!reading.problems.empty()) {
    loaded.status = 2;
    return loaded;
  }
  if (!reading.missing.empty()) {
    std::string names;
    for (const std::string& name : reading.missing)
      names += (names.empty() ? "" : ", ") + name;
    loaded.errors = "tavro: " + shown +
                    ": nicht gesetzt, es gelten die Werte des Beispielfalls: " + names +
                    "\n";
  }
  loaded.loaded = true;
  return loaded;
}

}  // namespace

// Control characters in a file (a value, a name, the file's own name) are
// spelt out: they cannot steer the terminal the errors are shown on.
LoadedCase loadCase(const InputFile& file, CouplingData& data, CaseLabel* label) {
  LoadedCase loaded = loadCaseFile(file, data, label);
  loaded.errors = visibleControls(loaded.errors);
  return loaded;
}

LoadedCase loadLink(const std::string& link, CouplingData& data, CaseLabel* label) {
  const std::size_t hash = link.find('#');
  const std::string fragment = hash == std::string::npos ? link : link.substr(hash + 1);
  CouplingData read = data;
  CaseLabel labelRead;
  LoadedCase loaded;
  for (const std::string& part : readCaseLink(fragment, read, &labelRead)) {
    loaded.errors += "tavro: --case: nicht gelesen: ";
    loaded.errors += visibleControls(asUtf8(part));
    loaded.errors += '\n';
  }
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
  // What a file gives, its output before its errors.
  // Control characters from the files (a value, a size's name, a file's
  // name) are spelt out: they cannot steer the terminal shown on.
  const auto add = [&run](const std::string& fileOutput, const std::string& fileErrors) {
    std::string output = visibleControls(fileOutput);
    std::string errors = visibleControls(fileErrors);
    run.output += output;
    run.errors += errors;
    run.parts.push_back({std::move(output), std::move(errors)});
  };
  bool inputError = false;
  bool notLoaded = false;
  bool notOkay = false;
  Series sizes;
  // File names as the program reads other text: UTF-8, else Windows-1252,
  // so that every output is UTF-8.
  const std::string seriesName = series != nullptr ? asUtf8(series->name) : "";
  if (series != nullptr) {
    if (!series->read) {
      add("", "tavro: " + seriesName + ": " + series->error + "\n");
      run.status = 1;
      return run;
    }
    sizes = readSeries(series->bytes);
    std::string errors;
    const auto say = [&](int line, const std::string& what) {
      sayAbout(errors, seriesName, line, what);
    };
    if (sizes.sizes.empty()) {
      // Nothing to check a case with: a bad file, as a case file that is not loaded.
      bool withLines = false;
      const std::string why = noSizeReason(sizes, series->bytes, withLines);
      if (withLines) {
        for (const IgnoredLine& line : sizes.ignored) say(line.line, line.reason);
      }
      say(sizes.header == Series::Header::kRefused ? sizes.ignored.front().line : 0,
          "keine Baugröße gelesen: " + why);
      add("", errors);
      run.status = 2;
      // No case is checked without sizes, but a case file that cannot be read
      // is named still: its status comes first.
      for (const InputFile& file : cases) {
        if (file.read) continue;
        add("", "tavro: " + asUtf8(file.name) + ": " + file.error + "\n");
        run.status = 1;
      }
      return run;
    }
    if (!sizes.columns.empty()) say(0, sizes.columns);
    for (const IgnoredLine& line : sizes.ignored) say(line.line, line.reason);
    add("", errors);
  }

  const CsvStyle& csv =
      options.format == Options::Format::kCsvDe ? kCsvGerman : kCsvForScripts;
  if (options.format == Options::Format::kCsv ||
      options.format == Options::Format::kCsvDe)
    add(csvHeader(csv), "");
  for (const InputFile& file : cases) {
    const std::string name = asUtf8(file.name);
    CouplingData data{};
    resetToDefaults(data);
    CaseLabel label;
    const LoadedCase loaded = loadCase(file, data, &label);
    inputError = inputError || loaded.status == 1;
    notLoaded = notLoaded || loaded.status == 2;
    if (!loaded.loaded) {
      add("", loaded.errors);
      continue;
    }

    const CheckResults results = checkCoupling(data);
    // With a series the sizes decide: the case's own coupling is one choice.
    if (series == nullptr) {
      for (const CheckOutcome& c : checkOutcomes(data, results))
        notOkay = notOkay || !c.okay;
    }
    std::string output;
    switch (options.format) {
      case Options::Format::kCsv:
      case Options::Format::kCsvDe:
        output = csvRow(csv, name, label, data, results);
        break;
      case Options::Format::kJson: {
        JsonWriter json;
        json.beginObject().key("file").string(name);
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
        output = json.endObject().text() + "\n";
        break;
      }
      case Options::Format::kText: {
        output = "== " + name + "\n";
        if (!label.name.empty()) output += "Bezeichnung: " + label.name + "\n";
        if (!label.size.empty()) output += "Baugroesse: " + label.size + "\n";
        CheckResults scratch{};
        for (const std::string& page :
             pagesOf([&](Console& c) { computeCommand(c, data, scratch); }))
          output += page;
        if (options.derivation) output += "Rechenweg:\n" + derivationText(data);
        if (series != nullptr) {
          bool anyPasses = false;
          output += sizesText(data, sizes, seriesName, anyPasses);
          notOkay = notOkay || !anyPasses;
        }
        break;
      }
    }
    add(output, loaded.errors);
  }
  run.status = inputError ? 1 : notLoaded ? 2 : notOkay ? 3 : 0;
  return run;
}
