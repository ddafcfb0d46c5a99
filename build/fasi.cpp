#include "build/fasi.h"

#include "packer/memorizza_percorso.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"

void esegui_build(Form1& f) {
  dati_linea(f);
  dati_treno(f);
  memorizza_percorso(f, 1);
}
