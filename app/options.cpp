#include "app/options.h"

#include <set>
#include <string_view>

#include "console/utf8.h"
#include "coupling/case_file.h"
#include "coupling/text.h"

namespace {

constexpr const char* kHelp =
    "Aufruf: tavro [FALLDATEI | --case LINK]\n"
    "        tavro --check [--derivation] [--series TABELLE] [--format FORMAT]\n"
    "              FALLDATEI...\n"
    "        tavro --template | --help | --version\n"
    "\n"
    "TAVRO prueft eine elastische Wellenkupplung nach den Berechnungsregeln\n"
    "der DIN 740 und gibt sechs Urteile aus, jedes \"okay!\" oder \"nicht okay!\".\n"
    "Ohne Argument startet das Menue mit einem vollstaendigen Beispielfall,\n"
    "mit einer Falldatei mit deren Fall; eine Taste waehlt einen Befehl,\n"
    "Zahlen werden mit Enter abgeschlossen.\n"
    "\n"
    "Tasten im Menue:\n"
    "  i  Info\n"
    "  a  Nennmoment TLN, Drehzahl n, Ordnungszahl i\n"
    "  b  Drehmassen JA, JL, Seite der Anregung, Anfahren lastfrei\n"
    "  c  Stoss- und Erregermomente beider Seiten\n"
    "  d  Kupplungs-Kennwerte TKN, TKmax, TKW, Cdyn, psi, PKW\n"
    "  e  Einflussfaktoren ST, SS, SZ\n"
    "  w  momentan definierte Werte zeigen\n"
    "  g  Kupplung pruefen, drei Ergebnisseiten\n"
    "  q  Programm beenden\n"
    "Am Seitenende blaettert jede Taste weiter, x fuehrt zurueck ins Menue.\n"
    "\n"
    "Eine Falldatei hat je Zeile NAME = WERT mit den Namen eines Links\n"
    "(TLN, n, i, JA, JL, excitationSide, startLoaded, TAS, TAI, TLS, TLI, TKN,\n"
    "TKmax, TKW, Cdyn, psi, PKW, ST, SS, SZ); # beginnt einen Kommentar. Ein\n"
    "fehlendes Feld behaelt den Wert des Beispielfalls. Bezeichnung = TEXT und\n"
    "Baugroesse = TEXT benennen den Fall, der Text bis zum Zeilenende.\n"
    "\n"
    "Optionen:\n"
    "  --case LINK        mit dem Fall eines Links (oder dessen Teil nach #)\n"
    "  --check            jede FALLDATEI pruefen und ihre drei Ergebnisseiten\n"
    "                     ausgeben, ohne Menue und ohne Warten\n"
    "  --derivation       mit --check: auch den Rechenweg (nicht mit csv)\n"
    "  --series TABELLE   mit --check: jede Baugroesse der Reihe in TABELLE pruefen\n"
    "                     (nicht mit csv)\n"
    "  --format FORMAT    mit --check: text (Vorgabe), json (ein Objekt je Fall\n"
    "                     und Zeile), csv (eine Zeile je Fall) oder csv-de (wie\n"
    "                     csv mit ; und Dezimalkomma, fuer Tabellenkalkulationen\n"
    "                     mit deutschen Einstellungen)\n"
    "  --template         den Beispielfall als Falldatei ausgeben\n"
    "  -h, --help         diese Hilfe zeigen (unter Windows auch /?)\n"
    "  -V, --version      die Version zeigen\n"
    "Jede Option mit Wert steht hoechstens einmal.\n"
    "\n"
    "Exit-Status:\n"
    "  0        nach q oder am Ende der Eingabe; alle Pruefungen okay\n"
    "  1        nach einem Ein- oder Ausgabefehler (auch einer fehlenden Datei)\n"
    "  2        nach einer falschen Option, einer Falldatei, die nicht\n"
    "           geladen wird, oder einer TABELLE ohne lesbare Baugroesse\n"
    "  3        mit --check: eine Pruefung nicht okay (mit --series: fuer einen\n"
    "           Fall passt keine Baugroesse)\n"
    "  128 + n  beendet durch das Signal n\n"
    "\n"
    "Mehr: man tavro\n";

// TAVRO_VERSION comes from the build: the project's version.
constexpr const char* kVersion = "tavro " TAVRO_VERSION "\n";

// The refusal of a bad command line. An argument quoted in `why` may be any
// bytes; it is written as the program reads other text, so the line is UTF-8,
// with its control characters spelt out (a file name may hold them).
Options refused(const std::string& why) {
  Options options;
  options.runSession = false;
  options.status = 2;
  options.errors = "tavro: " + visibleControls(asUtf8(why)) + "\nHilfe: tavro --help\n";
  return options;
}

}  // namespace

Options readOptions(std::span<const char* const> args, OptionConventions conventions) {
  Options options;
  const char* answer = nullptr;  // the first of --help, --version, --template
  bool formatGiven = false;
  bool plainOnly = false;       // after "--" every argument is a file
  std::set<std::string> given;  // the options with a value seen so far
  for (std::size_t k = 0; k < args.size(); ++k) {
    std::string arg = args[k];
    if (conventions.slashHelp && !plainOnly && arg == "/?") arg = "--help";
    if (plainOnly || arg.empty() || arg == "-" || arg[0] != '-') {
      options.files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      plainOnly = true;
      continue;
    }
    // --name=value, or --name value for the options that take one.
    std::string value;
    bool hasValue = false;
    if (const std::size_t equals = arg.find('=');
        arg.starts_with("--") && equals != std::string::npos) {
      value = arg.substr(equals + 1);
      arg.resize(equals);
      hasValue = true;
    }
    const bool takesValue = arg == "--case" || arg == "--series" || arg == "--format";
    // A value given twice is refused: which one was meant cannot be known.
    if (takesValue && !given.insert(arg).second)
      return refused(arg + " ist zweimal angegeben");
    if (takesValue && !hasValue) {
      if (k + 1 == args.size()) return refused(arg + " verlangt einen Wert");
      value = args[++k];
    } else if (!takesValue && hasValue) {
      return refused(arg + " nimmt keinen Wert");
    }
    if (arg == "--help" || arg == "-h") {
      if (answer == nullptr) answer = kHelp;
    } else if (arg == "--version" || arg == "-V") {
      if (answer == nullptr) answer = kVersion;
    } else if (arg == "--template") {
      if (answer == nullptr) answer = "";
    } else if (arg == "--check") {
      options.check = true;
    } else if (arg == "--derivation") {
      options.derivation = true;
    } else if (arg == "--case") {
      options.hasCaseText = true;
      options.caseText = value;
    } else if (arg == "--series") {
      options.series = value;
      if (value.empty()) return refused("--series verlangt eine Tabelle");
    } else if (arg == "--format") {
      formatGiven = true;
      if (value == "text") {
        options.format = Options::Format::kText;
      } else if (value == "json") {
        options.format = Options::Format::kJson;
      } else if (value == "csv") {
        options.format = Options::Format::kCsv;
      } else if (value == "csv-de") {
        options.format = Options::Format::kCsvDe;
      } else {
        return refused("unbekanntes Format: " + value + " (text, json, csv oder csv-de)");
      }
    } else {
      return refused("unbekannte Option: " + std::string(args[k]));
    }
  }

  if (!options.check && (options.derivation || !options.series.empty() || formatGiven))
    return refused("--derivation, --series und --format gehen nur mit --check");
  if (options.check && options.files.empty())
    return refused("--check verlangt mindestens eine Falldatei");
  if (options.check && options.hasCaseText)
    return refused("--case geht nicht mit --check");
  if ((options.format == Options::Format::kCsv ||
       options.format == Options::Format::kCsvDe) &&
      (options.derivation || !options.series.empty())) {
    return refused(std::string("--derivation und --series gehen nicht mit --format ") +
                   (options.format == Options::Format::kCsv ? "csv" : "csv-de"));
  }
  if (!options.check && options.files.size() + (options.hasCaseText ? 1 : 0) > 1)
    return refused("das Menue startet mit einem Fall: eine Falldatei oder --case");

  if (answer != nullptr) {
    Options answered;
    answered.runSession = false;
    if (*answer != '\0') {
      answered.output = answer;
    } else {
      CouplingData example{};
      resetToDefaults(example);
      answered.output = writeCaseFile(example);
    }
    return answered;
  }
  if (options.check) options.runSession = false;
  return options;
}
