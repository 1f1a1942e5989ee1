#include "app/session.h"
#include "terminal/terminal.h"

int main() {
  Terminal terminal;
  runSession(terminal);
  return 0;
}
