#include "app/options.h"

#include <string_view>

namespace {

constexpr const char* kHelp =
    "Aufruf: tavro [--help | --version]\n"
    "\n"
    "TAVRO prueft eine elastische Wellenkupplung nach den Berechnungsregeln\n"
    "der DIN 740 und gibt sechs Urteile aus, jedes \"okay!\" oder \"nicht okay!\".\n"
    "Ohne Option startet das Menue mit einem vollstaendigen Beispielfall;\n"
    "eine Taste waehlt einen Befehl, Zahlen werden mit Enter abgeschlossen.\n"
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
    "Optionen:\n"
    "  -h, --help     diese Hilfe zeigen\n"
    "  -V, --version  die Version zeigen\n"
    "\n"
    "Exit-Status:\n"
    "  0        nach q oder am Ende der Eingabe\n"
    "  1        nach einem Ein- oder Ausgabefehler\n"
    "  2        nach einer unbekannten Option\n"
    "  128 + n  beendet durch das Signal n\n"
    "\n"
    "Mehr: man tavro\n";

// TAVRO_VERSION comes from the build: the project's version.
constexpr const char* kVersion = "tavro " TAVRO_VERSION "\n";

const char* answer(std::string_view arg) {
  if (arg == "--help" || arg == "-h") return kHelp;
  if (arg == "--version" || arg == "-V") return kVersion;
  return nullptr;
}

}  // namespace

Options readOptions(std::span<const char* const> args) {
  Options options;
  for (const char* arg : args) {
    const char* text = answer(arg);
    if (text == nullptr) {
      options = {
          false, 2, "",
          std::string("tavro: unbekannte Option: ") + arg + "\nHilfe: tavro --help\n"};
      return options;
    }
    if (options.runSession) options = {false, 0, text, ""};
  }
  return options;
}
