// Calls errore("1251") and nothing else: what follows the call must never run.
#include <cstdio>

#include "impacchetta/finestra.h"

int main() {
  errore("1251");
  std::puts("dopo errore");
  return 0;
}
