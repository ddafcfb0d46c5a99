// Writes a scenario's two sources into a directory, for whole runs of
// `scenario pack` (bench/confronta, bench/confronta_versioni).
//   scrivi_scenario LENGTH_M DIR [NAME [TRAIN]]   a generated scenario of that length
//   scrivi_scenario incorporato DIR [NAME [TRAIN]] the built-in line and train
// writes DIR/NAME_linea.txt and DIR/NAME_TRAIN-.txt (NAME defaults to
// Generato, TRAIN to 1).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/genera_scenario.h"
#include "formato/file.h"
#include "formato/nomi_file.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"

int main(int argc, char** argv) {
  if (argc < 3 || argc > 5) {
    std::fprintf(stderr, "usage: scrivi_scenario LENGTH_M|incorporato DIR [NAME [TRAIN]]\n");
    return 2;
  }
  scenario_generato s;
  if (std::string(argv[1]) == "incorporato") {
    s = {dati_linea(), dati_treno()};
  } else {
    char* fine = nullptr;
    const long lunghezza = std::strtol(argv[1], &fine, 10);
    if (*fine != '\0' || lunghezza < 10000 || lunghezza > 1000000) {
      std::fprintf(stderr, "scrivi_scenario: the length must be 10000 to 1000000 metres\n");
      return 2;
    }
    s = genera_scenario(static_cast<int32_t>(lunghezza));
  }
  const std::filesystem::path cartella = argv[2];
  const std::string nome = argc > 3 ? argv[3] : "Generato";
  const std::string treno = argc > 4 ? argv[4] : "1";
  try {
    sostituisci_file(cartella / file_linea_sorgente(nome), s.linea);
    sostituisci_file(cartella / file_treno_sorgente(nome, treno), s.treno);
  } catch (const errore_file& e) {
    std::fprintf(stderr, "scrivi_scenario: %s\n", e.what());
    return 2;
  }
  return 0;
}
