// The packed format's vocabulary: what the numbers in a cell's `tipo` mean,
// which slots of the station table are reserved for what, and the markers
// the simulator looks for. Every layer names them from here.
#pragma once

#include <cstdint>
#include <string_view>

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

// A free cell takes a point feature: one with none, or a mountain marker,
// which the feature replaces.
constexpr bool tipo_libero(uint8_t tipo) { return tipo == tipo_vuoto || tipo == tipo_marca_montagna; }

// What a cell of kind `tipo` carries, in a reader's words ("" for none).
constexpr std::string_view descrizione_tipo(uint8_t tipo) {
  switch (tipo) {
    case tipo_vuoto: return "";
    case tipo_segnale: return "signal";
    case tipo_fine_rallentamento: return "slow order end";
    case tipo_inizio_rallentamento: return "slow order start";
    case tipo_avviso_rallentamento: return "slow order warning board";
    case tipo_conto_rallentamento: return "slow order countdown";
    case tipo_cartello_vmax: return "maximum-speed board";
    case tipo_punto_stazione: return "station point";
    case tipo_marca_montagna: return "mountain marker";
    case tipo_abbattimento: return "speed-reduction point";
    case tipo_abbattimento_senza_velocita: return "speed-reduction point without speed";
    case tipo_indicatore_km: return "kilometre board";
    default: return "unknown kind";
  }
}

// The approach codes (`avviso_segnale`) on the four cells before a station
// point: this plus 1 to 4, nearest first.
inline constexpr uint8_t avviso_stazione = 80;

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

// The three packed files of a scenario, in the order they are packed.
enum class file_imballato : uint8_t {
  linea,     // the line plan (only when it is built)
  stazioni,  // the station table
  percorso,  // the route grid
};
