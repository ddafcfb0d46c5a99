#include "documents/note.h"

#include <string_view>

#include "build/nomi_file.h"
#include "sources/scrivi_righe.h"

void dati_note(const Form1& f) {
  static constexpr std::string_view righe[] = {
      "Simulazione del treno Intercity 739 'Cometa Argentea' nel tratto Corvana - Telmisa.",
      "Il tratto Corvana-Gravelleno non rispecchia la realta' dal punto di vista planimetrico.",
      "Il treno parte da Corvana con un ritardo di 10 minuti, facilmente recuperabili.",
      "Buon divertimento",
      "",
      "                   AUTORE Anonimo",
      "                  (autore.scenari@example.org) ",
      sentinella,
  };
  scrivi_righe(file_note(f), righe);
}
