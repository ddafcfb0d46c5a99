#include "build/fasi.h"

#include "documents/note.h"
#include "documents/rallentamenti.h"
#include "documents/scheda_treno.h"

void esegui_build(Form1& f) {
  dati_note(f);
  dati_rallentamenti(f);
  dati_scheda(f);
}
