// Writes the built-in scenario's two sources into a directory, as the packer
// writes them before compiling them back: the installation's test packs them
// with the installed `scenario` and compares with what the installed packer wrote.
//   scrivi_incorporato DIR
#include <cstdio>

#include "build/fasi.h"
#include "compiler/form1.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"
#include "sources/scrivi_righe.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: scrivi_incorporato DIR\n");
    return 2;
  }
  Form1 f;
  nomina_scenario(f, argv[1]);
  try {
    dati_linea(f);
    dati_treno(f);
  } catch (const errore_file& e) {
    std::fprintf(stderr, "scrivi_incorporato: %s\n", e.what());
    return 2;
  }
  return 0;
}
