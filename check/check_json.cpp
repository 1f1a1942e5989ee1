#include "check/check_json.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "check/derivation.h"
#include "check/sizing.h"
#include "console/format.h"
#include "console/number.h"
#include "coupling/fields.h"

const PrintedResult kPrintedResults[12] = {
    {"TLNmax", &CheckResults::TLNmax}, {"TSAmax", &CheckResults::TSAmax},
    {"TSLmax", &CheckResults::TSLmax}, {"TSmax", &CheckResults::TSmax},
    {"fe", &CheckResults::fe},         {"nR", &CheckResults::nR},
    {"VR", &CheckResults::VR},         {"Vfi", &CheckResults::Vfi},
    {"Sf", &CheckResults::Sf},         {"TWi", &CheckResults::TWi},
    {"TWimax", &CheckResults::TWimax}, {"PWi", &CheckResults::PWi},
};

namespace {

// The members value, limit, okay and share of one check, for an open object.
void writeOutcome(JsonWriter& json, const CheckOutcome& c) {
  json.key("value").number(c.value).key("limit").number(c.limit);
  json.key("okay").boolean(c.okay).key("share").string(shareText(c));
}

}  // namespace

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

void writeResults(JsonWriter& json, const CheckResults& results) {
  json.beginObject();
  for (const PrintedResult& r : kPrintedResults)
    json.key(r.name).number(results.*r.value);
  json.endObject();
}

void writeChecks(JsonWriter& json, const CouplingData& data,
                 const CheckResults& results) {
  json.beginArray();
  const auto outcomes = checkOutcomes(data, results);
  for (std::size_t k = 0; k < outcomes.size(); ++k) {
    json.beginObject();
    writeOutcome(json, outcomes[k]);
    json.key("verdict").string(outcomes[k].okay ? "okay!" : "nicht okay!");
    json.key("valueName").string(kChecks[k].valueName);
    json.key("limitName").string(kChecks[k].limitName).key("note");
    // Above the speed the drive never runs through its resonance as it
    // starts; the check stands as the program has it, with a word. (An
    // infinite nR, of i = 0, is no resonance at all.)
    if (kChecks[k].value == &CheckResults::TSmax && std::isfinite(results.nR) &&
        results.nR > data.n) {
      json.string("nR > n: die Resonanz wird beim Anfahren nicht durchfahren.");
    } else {
      json.null();
    }
    json.endObject();
  }
  json.endArray();
}

void writeCheckNames(JsonWriter& json) {
  json.beginArray();
  for (const CheckRule& rule : kChecks) {
    json.beginObject().key("title").string(rule.title).key("brief").string(rule.brief);
    json.key("unit").string(rule.unit).key("valueName").string(rule.valueName);
    json.key("limitName").string(rule.limitName).endObject();
  }
  json.endArray();
}

void writeSteps(JsonWriter& json, const CouplingData& data) {
  json.beginArray();
  for (const DerivationStep& step : derive(data)) {
    json.beginObject().key("symbol").string(step.symbol);
    json.key("expression").string(step.expression);
    json.key("substituted").string(step.substituted);
    json.key("value").number(step.value).key("printed").string(formatReal(step.value));
    json.key("unit").string(step.unit).key("condition").string(step.condition);
    json.key("mathml").beginArray();
    for (const std::string& piece : step.mathml) json.string(piece);
    json.endArray().endObject();
  }
  json.endArray();
}

void writeSizes(JsonWriter& json, const CouplingData& data, const Series& series,
                std::size_t from, std::size_t to, std::optional<std::size_t>& smallest) {
  to = std::min(to, series.sizes.size());
  from = std::min(from, to);
  const std::vector<CouplingSize> part(series.sizes.begin() + static_cast<long>(from),
                                       series.sizes.begin() + static_cast<long>(to));
  const std::vector<SizeCheck> checks = checkSizes(data, part);
  if (const auto first = smallestPassing(checks); first && !smallest)
    smallest = from + *first;
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
}
