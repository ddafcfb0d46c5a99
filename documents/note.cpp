#include "documents/note.h"

#include <string_view>

#include "formato/scrivi_righe.h"

std::string dati_note() {
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
  return scrivi_righe(righe);
}
