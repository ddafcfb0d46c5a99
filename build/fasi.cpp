#include "build/fasi.h"

#include "documents/note.h"
#include "documents/rallentamenti.h"
#include "documents/scheda_treno.h"
#include "packer/memorizza_percorso.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"

void nomina_scenario(Form1& f, const std::filesystem::path& cartella) {
  f.nome_scenario = "Corvana_Telmisa";
  f.numero_treno = "739";
  f.cartella = cartella;
}

void esegui_build(Form1& f) {
  dati_linea(f);
  dati_treno(f);
  dati_note(f);
  dati_rallentamenti(f);
  dati_scheda(f);
  memorizza_percorso(f, 1);
}
