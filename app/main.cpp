#include "app/session.h"
#include "app/terminal.h"

int main() {
  Terminal terminal;
  runSession(terminal);
  return 0;
}
