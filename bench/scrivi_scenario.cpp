// Writes a generated scenario's two sources into a directory, for measuring
// whole runs of `scenario pack` (bench/confronta).
//   scrivi_scenario LENGTH_M DIR [NAME [TRAIN]]
// writes DIR/NAME_linea.txt and DIR/NAME_TRAIN-.txt (NAME defaults to
// Generato, TRAIN to 1).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/genera_scenario.h"
#include "formato/file.h"
#include "formato/nomi_file.h"

int main(int argc, char** argv) {
  if (argc < 3 || argc > 5) {
    std::fprintf(stderr, "usage: scrivi_scenario LENGTH_M DIR [NAME [TRAIN]]\n");
    return 2;
  }
  char* fine = nullptr;
  const long lunghezza = std::strtol(argv[1], &fine, 10);
  if (*fine != '\0' || lunghezza < 10000 || lunghezza > 1000000) {
    std::fprintf(stderr, "scrivi_scenario: the length must be 10000 to 1000000 metres\n");
    return 2;
  }
  const std::filesystem::path cartella = argv[2];
  const std::string nome = argc > 3 ? argv[3] : "Generato";
  const std::string treno = argc > 4 ? argv[4] : "1";
  const scenario_generato s = genera_scenario(static_cast<int32_t>(lunghezza));
  try {
    sostituisci_file(cartella / file_linea_sorgente(nome), s.linea);
    sostituisci_file(cartella / file_treno_sorgente(nome, treno), s.treno);
  } catch (const errore_file& e) {
    std::fprintf(stderr, "scrivi_scenario: %s\n", e.what());
    return 2;
  }
  return 0;
}
