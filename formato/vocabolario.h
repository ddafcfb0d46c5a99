// The packed format's vocabulary: what the numbers in a cell's `tipo` mean,
// which slots of the station table are reserved for what, and the markers
// the simulator looks for. Every layer names them from here.
#pragma once

#include <cstdint>

// The point feature a route cell carries (`cella_percorso::tipo`). A cell of
// kind `tipo_vuoto` or `tipo_marca_montagna` is free: a point feature may be
// laid on it.
enum tipo_cella : uint8_t {
  tipo_vuoto = 0,
  tipo_segnale = 1,
  tipo_fine_rallentamento = 2,     // the end of a slow order
  tipo_inizio_rallentamento = 3,   // the start of a slow order; dato1 its speed
  tipo_avviso_rallentamento = 4,   // the warning board, 1200 m before the start
  tipo_conto_rallentamento = 5,    // the four countdown cells before the warning board
  tipo_cartello_vmax = 6,          // a maximum-speed board
  tipo_punto_stazione = 10,        // dato1: the station's slot
  tipo_marca_montagna = 11,        // every fourth cell of a marked mountain span
  tipo_abbattimento = 12,          // a speed-reduction point; dato1 its speed
  tipo_abbattimento_senza_velocita = 13,
  tipo_indicatore_km = 14,         // a kilometre board; dato1 the slot of its text
};

// The station table: 87 slots. Stations fill it from slot 1 upward, the
// kilometre boards' texts from slot 80 downward; 81 to 86 hold the route's
// and the train's header values.
inline constexpr int numero_slot = 87;          // 0..86
inline constexpr int slot_prima_stazione = 1;
inline constexpr int slot_cartelli = 80;        // kilometre-board texts, from here downward
inline constexpr int slot_progressiva_alta = 81;   // the kilometre reference with the largest first value
inline constexpr int slot_progressiva_media = 82;
inline constexpr int slot_progressiva_bassa = 83;  // ... and with the smallest
inline constexpr int slot_treno_percorso = 84;  // braked mass, route length, number of cars
inline constexpr int slot_scenario = 85;        // backgrounds, scenario name, marker, weighted code
inline constexpr int slot_treno = 86;           // cab-signal span, train number, sand, clock

// The markers stamped when packing, in slot 85 `intero1` and cell 1 `dato1`.
inline constexpr int16_t marca_tabella = 610;
inline constexpr int16_t marca_percorso = 5121;
// The cell that carries the marker and the plain competition code.
inline constexpr int cella_marche = 1;
