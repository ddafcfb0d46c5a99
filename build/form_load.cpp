#include "build/form_load.h"

#include <cstdio>

#include "build/fasi.h"
#include "build/finestra.h"
#include "build/nomi_file.h"
#include "sources/scrivi_righe.h"

namespace {

void errore_a_video(const std::string& a) { errore(a); }

}  // namespace

int Form_Load() {
  static Form1 f;  // the build state lives for the whole run
  nomina_scenario(f, cartella_programma());
  f.mostra_errore = errore_a_video;

  mostra_finestra();
  try {
    esegui_build(f);
  } catch (const errore_file& e) {
    std::fprintf(stderr, "impacchetta: %s\n", e.what());
    chiudi_finestra();
    return 2;
  }
  // A recorded error does not stop the build; it is only told.
  if (f.codice_errore != 0)
    std::fprintf(stderr, "impacchetta: codice_errore %d, posizione_errore %d\n",
                 static_cast<int>(f.codice_errore), static_cast<int>(f.posizione_errore));
  chiudi_finestra();
  return 0;
}
