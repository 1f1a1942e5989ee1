#include "web/page_data.h"

#include <algorithm>
#include <optional>

#include "check/check_json.h"
#include "check/curve.h"
#include "check/result_pages.h"
#include "console/console.h"
#include "console/format.h"
#include "console/json.h"
#include "console/number.h"
#include "console/page_capture.h"
#include "coupling/case_file.h"
#include "coupling/case_link.h"
#include "coupling/display.h"
#include "coupling/fields.h"
#include "coupling/series.h"

namespace {

// The printed text of every field, as members of the open object.
void writePrintedCase(JsonWriter& json, const CouplingData& data) {
  for (const Field& f : kFields) json.key(f.name).string(printedValue(data, f));
}

bool isExample(const CouplingData& data) {
  CouplingData example{};
  resetToDefaults(example);
  return sameCase(data, example);
}

// The members of caseMessage, for an open object.
void writeCaseMembers(JsonWriter& json, const CouplingData& data,
                      const CaseLabel& label) {
  json.key("case");
  writeCase(json, data);
  json.key("printed").beginObject();
  writePrintedCase(json, data);
  json.endObject();
  // A name or a size is the user's too: a named case is no longer the example.
  const bool example = isExample(data) && label.name.empty() && label.size.empty();
  json.key("link").string(caseLink(data, label)).key("example").boolean(example);
  // A value that is not finite would make a file no reader takes.
  json.key("file");
  const Field* unsaved = nonFiniteField(data);
  if (unsaved == nullptr) {
    json.string(writeCaseFile(data, label)).key("notSaved").null();
  } else {
    json.null()
        .key("notSaved")
        .string("Fall nicht gespeichert: " + fieldLabel(*unsaved) + " hält " +
                printedValue(data, *unsaved) +
                ", keine endliche Zahl; eine Falldatei nimmt nur endliche Werte.");
  }
  json.key("name").string(label.name).key("size").string(label.size);
  json.key("fileName").string(caseFileName(label.name));
  std::string heading;
  if (!label.name.empty()) heading += "Bezeichnung: " + label.name + "\n";
  if (!label.size.empty()) heading += "Baugröße: " + label.size + "\n";
  json.key("heading").string(heading);
  // The drive train without the coupling's six values, which a series of
  // sizes brings: "TLN 480 Nm, n 1480 1/min, ...".
  std::string drive;
  for (const Field& field : kFields) {
    if (std::find(kSizeNames.begin(), kSizeNames.end(), std::string_view(field.name)) !=
        kSizeNames.end())
      continue;
    drive += (drive.empty() ? "" : ", ") + fieldLabel(field) + " " +
             printedWithUnit(data, field);
  }
  json.key("drive").string(drive);
}

}  // namespace

std::string caseMessage(const CouplingData& data, const CaseLabel& label) {
  JsonWriter json;
  json.beginObject();
  writeCaseMembers(json, data, label);
  return json.endObject().text();
}

std::string namedCaseMessage(std::string_view link, std::string_view name) {
  CouplingData data{};
  resetToDefaults(data);
  CaseLabel label;
  readCaseLink(link, data, &label);
  const bool taken = readLabelText(name, label.name);
  JsonWriter json;
  json.beginObject();
  writeCaseMembers(json, data, label);
  json.key("refused");
  if (taken) {
    json.null();
  } else {
    json.string("Die Bezeichnung ist eine Zeile Text ohne Steuerzeichen.");
  }
  return json.endObject().text();
}

std::string checkMessage(const CouplingData& data, const CheckResults& results) {
  JsonWriter json;
  json.beginObject().key("version").string(TAVRO_VERSION).key("case");
  writeCase(json, data);

  json.key("results");
  writeResults(json, results);
  json.key("names");
  writeCheckNames(json);
  json.key("checks");
  writeChecks(json, data, results);

  json.key("curve").beginArray();
  for (const CurvePoint& p : alternatingTorqueCurve(data))
    json.beginArray().number(p.n).number(p.TWimax).endArray();
  json.endArray();

  json.key("steps");
  writeSteps(json, data);

  json.key("printed").beginObject();
  writePrintedCase(json, data);
  for (const PrintedResult& r : kPrintedResults)
    json.key(r.name).string(formatReal(results.*r.value));
  json.key("PWimax").string(formatReal(results.PWimax)).endObject();

  CheckResults scratch{};  // the command's own results; the same as `results`
  json.key("pages").beginObject();
  json.key("values").raw(
      listMessage(pagesOf([&](Console& c) { showCurrentValues(c, data); })));
  json.key("results").raw(
      listMessage(pagesOf([&](Console& c) { computeCommand(c, data, scratch); })));
  json.endObject().endObject();
  return json.text();
}

std::string waitMessage(Wait what, const Field* field, const CouplingData& now,
                        const CouplingData& before, const std::string& notice) {
  constexpr const char* kWaits[] = {"menu", "key", "page", "number"};
  JsonWriter json;
  json.beginObject().key("wait").string(kWaits[static_cast<int>(what)]).key("notice");
  if (notice.empty()) {
    json.null();
  } else {
    json.string(notice);
  }
  json.key("prompt");
  if (what != Wait::kNumber || field == nullptr) {
    json.null().endObject();
    return json.text();
  }
  json.beginObject().key("field").string(field->name);
  json.key("value").number(fieldValue(now, *field));
  json.key("printed").string(printedValue(now, *field));
  json.key("description").string(field->description);
  json.key("explanation").string(field->explanation).key("unit").string(field->unit);
  json.key("switch").boolean(field->isSwitch);
  json.key("keep").string(exactValue(before, *field));
  json.endObject().endObject();
  return json.text();
}

std::string seriesHeadMessage(const Series& series) {
  constexpr const char* kHeaders[] = {"none", "byName", "inOrder", "refused"};
  JsonWriter json;
  json.beginObject().key("decimalComma").boolean(series.decimalComma);
  json.key("header").string(kHeaders[static_cast<int>(series.header)]);
  json.key("columns").string(series.columns);
  json.key("fields").beginArray();
  for (const char* name : kSizeNames) json.string(name);
  json.endArray().key("names");
  writeCheckNames(json);
  json.key("count").integer(static_cast<long long>(series.sizes.size()));
  json.key("ignored").beginArray();
  for (const IgnoredLine& line : series.ignored) {
    json.beginObject().key("line").integer(line.line);
    json.key("reason").string(line.reason).endObject();
  }
  json.endArray().endObject();
  return json.text();
}

std::string sizesMessage(const CouplingData& data, const Series& series, std::size_t from,
                         std::size_t to, std::optional<std::size_t>& smallest) {
  JsonWriter json;
  writeSizes(json, data, series, from, to, smallest);
  return json.text();
}

std::string seriesMessage(const CouplingData& data, std::string_view table) {
  const Series series = readSeries(table);
  std::optional<std::size_t> smallest;
  JsonWriter json;
  json.beginObject().key("head").raw(seriesHeadMessage(series));
  json.key("sizes").raw(sizesMessage(data, series, 0, series.sizes.size(), smallest));
  json.key("smallest");
  if (smallest) {
    json.integer(static_cast<long long>(*smallest));
  } else {
    json.null();
  }
  json.endObject();
  return json.text();
}

std::string listMessage(const std::vector<std::string>& texts) {
  JsonWriter json;
  json.beginArray();
  for (const std::string& text : texts) json.string(text);
  json.endArray();
  return json.text();
}
