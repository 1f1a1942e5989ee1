#include "web/page_data.h"

#include <algorithm>
#include <optional>

#include "check/curve.h"
#include "check/derivation.h"
#include "check/result_pages.h"
#include "check/sizing.h"
#include "console/console.h"
#include "console/format.h"
#include "console/page_capture.h"
#include "console/json.h"
#include "console/number.h"
#include "coupling/display.h"
#include "coupling/fields.h"
#include "coupling/series.h"
#include "coupling/case_link.h"

namespace {

// The results the page is handed, in the order of the result pages.
struct Result {
  const char* name;
  double CheckResults::*value;
};

constexpr Result kResults[] = {
    {"TLNmax", &CheckResults::TLNmax}, {"TSAmax", &CheckResults::TSAmax},
    {"TSLmax", &CheckResults::TSLmax}, {"TSmax", &CheckResults::TSmax},
    {"fe", &CheckResults::fe},         {"nR", &CheckResults::nR},
    {"VR", &CheckResults::VR},         {"Vfi", &CheckResults::Vfi},
    {"Sf", &CheckResults::Sf},         {"TWi", &CheckResults::TWi},
    {"TWimax", &CheckResults::TWimax}, {"PWi", &CheckResults::PWi},
};

// The six values value, limit, okay and share of one check, as members of
// the open object.
void writeOutcome(JsonWriter& json, const CheckOutcome& c) {
  json.key("value").number(c.value).key("limit").number(c.limit);
  json.key("okay").boolean(c.okay).key("share").string(shareText(c));
}

void writeCase(JsonWriter& json, const CouplingData& data) {
  json.beginObject();
  for (const Field& f : kFields) {
    json.key(f.name);
    if (f.real != nullptr) {
      json.number(data.*f.real);
    } else {
      json.integer(data.*f.integer);
    }
  }
  json.endObject();
}

// The printed text of every field, as members of the open object.
void writePrintedCase(JsonWriter& json, const CouplingData& data) {
  for (const Field& f : kFields) json.key(f.name).string(printedValue(data, f));
}

// What the page calls the six checks, in their order: {title, brief, unit,
// valueName, limitName}.
void writeCheckNames(JsonWriter& json) {
  json.beginArray();
  for (const CheckRule& rule : kChecks) {
    json.beginObject().key("title").string(rule.title).key("brief").string(rule.brief);
    json.key("unit").string(rule.unit).key("valueName").string(rule.valueName);
    json.key("limitName").string(rule.limitName).endObject();
  }
  json.endArray();
}

bool isExample(const CouplingData& data) {
  CouplingData example{};
  resetToDefaults(example);
  return sameCase(data, example);
}

}  // namespace

std::string caseMessage(const CouplingData& data) {
  JsonWriter json;
  json.beginObject().key("case");
  writeCase(json, data);
  json.key("printed").beginObject();
  writePrintedCase(json, data);
  json.endObject();
  json.key("link").string(caseLink(data)).key("example").boolean(isExample(data));
  json.endObject();
  return json.text();
}

std::string checkMessage(const CouplingData& data, const CheckResults& results) {
  JsonWriter json;
  json.beginObject().key("version").string(TAVRO_VERSION).key("case");
  writeCase(json, data);

  json.key("results").beginObject();
  for (const Result& r : kResults) json.key(r.name).number(results.*r.value);
  json.endObject();

  json.key("names");
  writeCheckNames(json);
  json.key("checks").beginArray();
  const auto outcomes = checkOutcomes(data, results);
  for (std::size_t k = 0; k < outcomes.size(); ++k) {
    json.beginObject();
    writeOutcome(json, outcomes[k]);
    json.key("valueName").string(kChecks[k].valueName);
    json.key("limitName").string(kChecks[k].limitName).endObject();
  }
  json.endArray();

  json.key("curve").beginArray();
  for (const CurvePoint& p : alternatingTorqueCurve(data))
    json.beginArray().number(p.n).number(p.TWimax).endArray();
  json.endArray();

  json.key("steps").beginArray();
  for (const DerivationStep& step : derive(data)) {
    json.beginObject().key("symbol").string(step.symbol);
    json.key("expression").string(step.expression);
    json.key("substituted").string(step.substituted);
    json.key("value").number(step.value).key("printed").string(formatReal(step.value));
    json.key("unit").string(step.unit).key("condition").string(step.condition);
    json.key("mathml").string(step.mathml).endObject();
  }
  json.endArray();

  json.key("printed").beginObject();
  writePrintedCase(json, data);
  for (const Result& r : kResults) json.key(r.name).string(formatReal(results.*r.value));
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
                        const CouplingData& before) {
  constexpr const char* kWaits[] = {"menu", "key", "page", "number"};
  JsonWriter json;
  json.beginObject().key("wait").string(kWaits[static_cast<int>(what)]).key("prompt");
  if (what != Wait::kNumber || field == nullptr) {
    json.null().endObject();
    return json.text();
  }
  json.beginObject().key("field").string(field->name);
  json.key("value").number(fieldValue(now, *field));
  json.key("printed").string(printedValue(now, *field));
  json.key("description").string(field->description).key("unit").string(field->unit);
  json.key("switch").boolean(field->isSwitch);
  json.key("keep").string(exactValue(before, *field));
  json.endObject().endObject();
  return json.text();
}

std::string seriesHeadMessage(const Series& series) {
  constexpr const char* kHeaders[] = {"none", "byName", "inOrder"};
  JsonWriter json;
  json.beginObject().key("decimalComma").boolean(series.decimalComma);
  json.key("header").string(kHeaders[static_cast<int>(series.header)]);
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
  to = std::min(to, series.sizes.size());
  from = std::min(from, to);
  const std::vector<CouplingSize> part(series.sizes.begin() + static_cast<long>(from),
                                       series.sizes.begin() + static_cast<long>(to));
  const std::vector<SizeCheck> checks = checkSizes(data, part);
  if (const auto first = smallestPassing(checks); first && !smallest)
    smallest = from + *first;
  JsonWriter json;
  json.beginArray();
  for (std::size_t k = 0; k < part.size(); ++k) {
    json.beginObject().key("name").string(part[k].name).key("values").beginArray();
    for (const double value : part[k].values) json.number(value);
    json.endArray().key("exact").beginArray();
    for (const double value : part[k].values) json.string(shortestReal(value));
    json.endArray().key("checks").beginArray();
    for (const CheckOutcome& c : checks[k].checks) {
      json.beginObject();
      writeOutcome(json, c);
      json.endObject();
    }
    json.endArray().key("okay").boolean(checks[k].okay).endObject();
  }
  json.endArray();
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
