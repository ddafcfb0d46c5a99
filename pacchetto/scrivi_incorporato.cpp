// Writes the built-in scenario's two sources into a directory, as the packer
// writes them before compiling them back: the installation's test packs them
// with the installed `scenario` and compares with what the installed packer wrote.
//   scrivi_incorporato DIR
#include <cstdio>
#include <filesystem>

#include "impacchetta/fasi.h"
#include "formato/file.h"
#include "formato/nomi_file.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: scrivi_incorporato DIR\n");
    return 2;
  }
  Form1 f;
  nomina_scenario(f);
  const std::filesystem::path dir = argv[1];
  try {
    sostituisci_file(dir / file_linea_sorgente(f.nome_scenario), dati_linea());
    sostituisci_file(dir / file_treno_sorgente(f.nome_scenario, f.numero_treno), dati_treno());
  } catch (const errore_file& e) {
    std::fprintf(stderr, "scrivi_incorporato: %s\n", e.what());
    return 2;
  }
  return 0;
}
