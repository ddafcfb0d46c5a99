// The rows the compiler read and applied, each with the place of its keyword
// field: what the warnings and the culprits of errors point at, and what the
// summary of a build counts.
#pragma once

#include <cstdint>
#include <string_view>

enum class tipo_riga : uint8_t {
  // line source
  lunghezza, progressiva, sfondo, ripetizione, pendenza, curva, montagna, cartello_vmax, indicatore_km,
  // train source
  massa_frenata, vetture, velocita, aderenza, orologio, sabbia, segnale, rallentamento, abbattimento,
  stazione,
};

// The row's kind as the author writes its keyword ("pendenza", "segnale", ...).
std::string_view parola_riga(tipo_riga t);

// True for the kinds whose first value is a route position.
constexpr bool ha_posizione(tipo_riga t) {
  switch (t) {
    case tipo_riga::lunghezza: case tipo_riga::progressiva: case tipo_riga::sfondo:
    case tipo_riga::ripetizione: case tipo_riga::massa_frenata: case tipo_riga::vetture:
    case tipo_riga::orologio: case tipo_riga::sabbia:
      return false;
    default:
      return true;
  }
}

// The name of the row's value number `i` (from 0) in the author's terms
// ("position", "speed", "kind", "hours" ...); empty past its last value.
std::string_view nome_valore(tipo_riga t, int i);

// An index into `compilazione::righe_lette`, or none.
inline constexpr int32_t nessuna_riga = -1;

// A row as read. The values kept are those the checks after the compile and
// the culprits of errors need, by kind:
//   posizione: the first value where it is a route position (pendenza,
//     curva, montagna, indicatori_vmax, cartello_indicatore, velocita,
//     aderenza, segnale, rallentamento, abbattimento, stazione);
//   valore: the gradient, the speed limit, the adhesion, the slow order's
//     speed, the speed-reduction point's speed, the mountain span's type; for a
//     station the slot it filled, for a kilometre board the slot of its text;
//   lunghezza: the curve's, the slow order's and the station's length; the
//     mountain span's end.
struct riga_letta {
  tipo_riga tipo = tipo_riga::lunghezza;
  bool nel_treno = false;    // read from the train source (else the line source)
  int32_t riga = 0;          // line and column (from 1) of its keyword field
  int32_t colonna = 0;
  int32_t posizione = 0;     // its first value: a route position in metres where it has one
  int32_t valore = 0;
  int32_t lunghezza = 0;
};

// Which rows laid what a cell of the route grid holds, kept beside the grid
// (one per cell) for naming culprits; never packed.
struct origine_cella {
  int32_t elemento = nessuna_riga;  // the row whose point feature (`tipo`) the cell holds
  int32_t segno = nessuna_riga;     // the row that laid its approach mark (`avviso_segnale`)
  bool da_approcci = false;         // the point was laid by the approach pass, on behalf of `elemento`
};
