#include "compiler/righe_lette.h"

#include "compiler/catalogo_righe.h"

std::string_view parola_riga(tipo_riga t) { return voce_di(t).parola; }

std::string_view nome_valore(tipo_riga t, int i) {
  const std::span<const voce_valore> valori = voce_di(t).valori;
  return i >= 0 && static_cast<std::size_t>(i) < valori.size() ? valori[static_cast<std::size_t>(i)].nome
                                                                : std::string_view{};
}
