#include "impacchetta/form_load.h"

#include <cstdio>
#include <filesystem>
#include <string>

#include "impacchetta/dove_scrive.h"
#include "impacchetta/fasi.h"
#include "impacchetta/finestra.h"
#include "formato/file.h"

namespace {

// The directory of the running program (through /proc/self/exe): every file
// of the build lies there.
std::filesystem::path cartella_programma() {
  std::error_code ec;
  const std::filesystem::path eseguibile = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path();
  return eseguibile.parent_path();
}

}  // namespace

int Form_Load() {
  static Form1 f;  // the build state lives for the whole run
  nomina_scenario(f);
  const std::filesystem::path cartella = cartella_programma();
  if (const std::string perche = cartella_vietata(cartella); !perche.empty()) {
    std::fprintf(stderr, "impacchetta: %s: nothing written: the packer writes its files beside itself, and this is %s\n%s",
                 cartella.c_str(), perche.c_str(), altra_via().c_str());
    return 2;
  }

  mostra_finestra();
  try {
    esegui_build(f, cartella);
  } catch (const errore_file& e) {
    std::fprintf(stderr, "impacchetta: %s\n%s", e.what(), altra_via().c_str());
    chiudi_finestra();
    return 2;
  }
  // A packing check refused the scenario: nothing was packed, and the one
  // message the program shows ends it.
  if (f.esito.rifiuto) errore(std::to_string(f.esito.rifiuto->codice));
  // A recorded error does not stop the build; it is only told.
  const registro& r = f.esito.registro;
  if (r.codice_errore != 0)
    std::fprintf(stderr, "impacchetta: codice_errore %d, posizione_errore %d\n",
                 static_cast<int>(r.codice_errore), static_cast<int>(r.posizione_errore));
  chiudi_finestra();
  return 0;
}
