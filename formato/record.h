// The records of the packed files, and one description of each: its fields
// in the order they are packed, with their names. A field's width is its
// member's type: u8, i16, i32 little-endian; a text is a u16 length and that
// many single-byte characters. The encoder, the decoder and `dump` all walk
// these descriptions, so that a field is named once.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <vector>

// One 50 m cell of the route grid. Cell i stands for the point at i * 50 m.
// `tipo` holds a `tipo_cella` (formato/vocabolario.h).
struct cella_percorso {
  uint8_t tipo = 0;            // kind of point feature
  int16_t dato1 = 0;           // values of that feature, by `tipo`
  int16_t dato2 = 0;
  int16_t dato3 = 0;
  int16_t dato4 = 0;
  uint8_t tempo_segnale = 0;   // timing value of a signal
  uint8_t avviso_segnale = 0;  // approach code laid before a signal or a station point
  uint8_t montagna = 0;        // mountain-span type, 0 = open line
  uint8_t velocita = 0;        // line speed limit / 5
  uint8_t pendenza = 0;        // gradient + 100 (100 = level), low 8 bits
  uint8_t aderenza = 0;        // adhesion, low 8 bits

  bool operator==(const cella_percorso&) const = default;
};

// One slot of the station table: a station, a kilometre-board text, or header values.
struct record_stazione {
  uint8_t marca = 0;
  int32_t valore1 = 0;
  int32_t valore2 = 0;
  int32_t valore3 = 0;
  uint8_t marca2 = 0;
  std::string nome;
  int16_t intero1 = 0;
  int16_t intero2 = 0;
  int16_t intero3 = 0;
  int16_t intero4 = 0;
  int16_t intero5 = 0;
  uint8_t ottetto1 = 0;
  uint8_t ottetto2 = 0;
  uint8_t ottetto3 = 0;
  uint8_t ottetto4 = 0;
  int32_t codice = 0;

  bool operator==(const record_stazione&) const = default;
};

// One field of a packed record: its name and the member that holds it.
template <class R, class T>
struct campo {
  std::string_view nome;
  T R::*membro;
};
template <class R, class T>
campo(std::string_view, T R::*) -> campo<R, T>;

// Route grid: one record per cell, in index order.
inline constexpr std::tuple campi_cella{
    campo{"tipo", &cella_percorso::tipo},
    campo{"dato1", &cella_percorso::dato1},
    campo{"dato2", &cella_percorso::dato2},
    campo{"dato3", &cella_percorso::dato3},
    campo{"dato4", &cella_percorso::dato4},
    campo{"tempo_segnale", &cella_percorso::tempo_segnale},
    campo{"avviso_segnale", &cella_percorso::avviso_segnale},
    campo{"montagna", &cella_percorso::montagna},
    campo{"velocita", &cella_percorso::velocita},
    campo{"pendenza", &cella_percorso::pendenza},
    campo{"aderenza", &cella_percorso::aderenza},
};

// Station table: 87 records, slots 0 to 86 in order.
inline constexpr std::tuple campi_stazione{
    campo{"marca", &record_stazione::marca},
    campo{"valore1", &record_stazione::valore1},
    campo{"valore2", &record_stazione::valore2},
    campo{"valore3", &record_stazione::valore3},
    campo{"marca2", &record_stazione::marca2},
    campo{"nome", &record_stazione::nome},
    campo{"intero1", &record_stazione::intero1},
    campo{"intero2", &record_stazione::intero2},
    campo{"intero3", &record_stazione::intero3},
    campo{"intero4", &record_stazione::intero4},
    campo{"intero5", &record_stazione::intero5},
    campo{"ottetto1", &record_stazione::ottetto1},
    campo{"ottetto2", &record_stazione::ottetto2},
    campo{"ottetto3", &record_stazione::ottetto3},
    campo{"ottetto4", &record_stazione::ottetto4},
    campo{"codice", &record_stazione::codice},
};

// True for a text field: packed as its length and its bytes.
template <class C>
inline constexpr bool campo_testo = false;
template <class R>
inline constexpr bool campo_testo<campo<R, std::string>> = true;

// The length field of a text holds at most 65535: a longer text is packed
// cut there, so that the length always tells how many bytes follow.
inline constexpr std::size_t byte_testo_massimi = std::numeric_limits<uint16_t>::max();
inline constexpr std::size_t byte_lunghezza_testo = 2;
// The bytes of `t` that are packed.
inline std::size_t byte_testo(const std::string& t) { return std::min(t.size(), byte_testo_massimi); }

// The bytes a field takes in its file, a text's own bytes left out.
template <class R, class T>
constexpr std::size_t byte_campo(const campo<R, T>&) {
  if constexpr (std::is_same_v<T, std::string>) {
    return byte_lunghezza_testo;
  } else {
    static_assert(std::is_integral_v<T> && (sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4));
    return sizeof(T);
  }
}

// Calls `f(c)` for every field `c` of a description, in order.
template <class Campi, class F>
constexpr void per_ogni_campo(const Campi& campi, F&& f) {
  std::apply([&f](const auto&... c) { (f(c), ...); }, campi);
}

// The fixed bytes of a record: all of it but a text's own bytes.
template <class Campi>
constexpr std::size_t byte_fissi(const Campi& campi) {
  std::size_t n = 0;
  per_ogni_campo(campi, [&n](const auto& c) { n += byte_campo(c); });
  return n;
}

// The fixed bytes of a record up to its text, its length included.
template <class Campi>
constexpr std::size_t byte_fino_al_testo(const Campi& campi) {
  std::size_t n = 0;
  bool visto = false;
  per_ogni_campo(campi, [&](const auto& c) {
    if (!visto) n += byte_campo(c);
    if (campo_testo<std::remove_cvref_t<decltype(c)>>) visto = true;
  });
  return n;
}

inline constexpr std::size_t byte_cella = byte_fissi(campi_cella);
inline constexpr std::size_t byte_stazione_senza_nome = byte_fissi(campi_stazione);
// Before a station's name: marca, three 32-bit values, marca2, the name's length.
inline constexpr std::size_t byte_stazione_prima_del_nome = byte_fino_al_testo(campi_stazione);
static_assert(byte_cella == 15);
static_assert(byte_stazione_senza_nome == 34);
static_assert(byte_stazione_prima_del_nome == 16);

// The line plan: every x (metres 0..L + 7000), then every y; each element a
// u16 tag followed by the value the tag announces. The tag is part of the
// value: the packed line file stores it.
enum tag_elemento : uint16_t {
  elemento_vuoto = 0,   // never filled; nothing follows
  elemento_intero = 2,  // a signed 16-bit integer follows
  elemento_reale = 5,   // a 64-bit IEEE float follows
};
inline constexpr std::size_t byte_tag = 2;
inline constexpr std::size_t byte_intero_linea = 2;
inline constexpr std::size_t byte_reale_linea = 8;

// The bytes of the value that follows `tag`; false for a tag the plan never holds.
constexpr bool byte_valore(uint16_t tag, std::size_t& byte) {
  switch (tag) {
    case elemento_vuoto: byte = 0; return true;
    case elemento_intero: byte = byte_intero_linea; return true;
    case elemento_reale: byte = byte_reale_linea; return true;
    default: return false;
  }
}

// One coordinate of the line plan, one point per metre: each point's tag and
// value, side by side, as the packed line file holds them. An integer point
// keeps its 16-bit value exactly in `valore`; an empty point holds 0.
struct asse_linea {
  std::vector<uint8_t> tag;
  std::vector<double> valore;
};
