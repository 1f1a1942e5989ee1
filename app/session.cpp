#include "app/session.h"

#include <string>

#include "check/din740.h"
#include "check/result_pages.h"
#include "console/console.h"
#include "coupling/coupling_data.h"
#include "coupling/dialogs.h"
#include "coupling/display.h"
#include "coupling/line_notice.h"

namespace {

// The state of a run: the one coupling case and the results of its last
// check. Both live from start to end of the session.
struct Session {
  Console& console;
  CouplingData data;
  CheckResults results;
  SessionObserver* observer;  // null: nobody watches
};

constexpr const char* kBanner =
    "TAVRO ist die PC-Version des gleichnamigen Rechenprogramms\n"
    "fuer programmierbare Taschenrechner der gaengigen Baureihen.\n"
    "Es hat daher keine Windows-Funktionalitaet, sondern ist\n"
    "auf das Wesentliche reduziert: Eingabe-Rechnen-Ausgabe.\n\n"
    "Entstanden als Lehr- und Uebungsprogramm im Fachgebiet\n"
    "Maschinenelemente einer technischen Hochschule,\n"
    "zur Auslegung elastischer Wellenkupplungen\n"
    "nach den Berechnungsregeln der DIN 740.\n"
    "http://www.example.com/tavro\n"
    "http://www.example.org/kupplungen\n";

constexpr const char* kInfo =
    "TAVRO n. DIN 740, Entwicklerteam, Fachgebiet Maschinenelemente, "
    "Dezember 2026\n";

void showInfo(Session& s) {
  s.console.print(kInfo);
  s.console.print("weiter mit bel.Taste..");
  s.console.readKey();  // any key, x too, just ends the pause
}

// One line of the menu and the command its key starts.
struct MenuEntry {
  const char* text;
  int key;
  void (*command)(Session&);
};

constexpr MenuEntry kMenu[] = {
    {"Kupplungsberechnung,i Info\n", 'i', showInfo},
    {"F1 a Drehmomente,Drehzahl\n", 'a',
     [](Session& s) { dialogTorqueSpeed(s.console, s.data); }},
    {"F2 b Drehmassen\n", 'b', [](Session& s) { dialogInertias(s.console, s.data); }},
    {"F3 c Spitzendrehmomente\n", 'c',
     [](Session& s) { dialogPeakTorques(s.console, s.data); }},
    {"F4 d Kupplungs-Kennwerte\n", 'd',
     [](Session& s) { dialogCouplingValues(s.console, s.data); }},
    {"F5 e Einflussfaktoren\n", 'e',
     [](Session& s) { dialogServiceFactors(s.console, s.data); }},
    {"F6 w momentan def. Werte\n", 'w',
     [](Session& s) { showCurrentValues(s.console, s.data); }},
    {"F7 g Compute\n", 'g',
     [](Session& s) {
       if (s.observer != nullptr) s.observer->computed(s.data, checkCoupling(s.data));
       computeCommand(s.console, s.data, s.results);
     }},
    {"F8 q Exit\n", 'q', nullptr},  // leaves the menu loop
};

// Tells the observer what the console waits for, a number prompt's variable
// named as the field of the case it is.
class WaitReporter : public ConsoleWatcher {
 public:
  explicit WaitReporter(const Session& session) : session_(session) {}
  void waiting(Wait what, const void* field) override {
    session_.observer->waiting(what, fieldAt(session_.data, field), session_.data,
                               lineNotice(session_.console.lineReading(), session_.data));
  }

 private:
  const Session& session_;
};

}  // namespace

void runSession(Device& device) {
  CouplingData example{};
  resetToDefaults(example);
  runSession(device, example, nullptr);
}

void runSession(Device& device, const CouplingData& start, SessionObserver* observer) {
  Console console(device);
  Session session{console, start, {}, observer};
  WaitReporter reporter(session);
  if (observer != nullptr) {
    console.watch(&reporter);
    observer->caseChanged(session.data);
  }
  console.print(kBanner);

  // Each pass prints a line end and the menu: put together once.
  std::string menu = "\n";
  for (const MenuEntry& entry : kMenu) menu += entry.text;
  for (;;) {
    console.print(menu);
    const int code = console.readKey(Wait::kMenu);
    if (code == 'q' || code == key::kEndOfInput) break;
    for (const MenuEntry& entry : kMenu) {
      if (entry.key != code || entry.command == nullptr) continue;
      entry.command(session);
      if (observer != nullptr) observer->caseChanged(session.data);
    }
    if (console.inputEnded()) break;
  }
  console.finishLine();
}
