#include "packer/decodifica.h"

#include <bit>
#include <utility>

#include "packer/file_imballati.h"

namespace {

// A cursor over the bytes of a packed file; every read is bounds-checked by
// the caller through `restano` before it is made.
struct lettore {
  std::string_view byte;
  std::size_t pos = 0;

  std::size_t restano() const { return byte.size() - pos; }
  uint64_t le(std::size_t n) {
    uint64_t v = 0;
    for (std::size_t i = 0; i < n; ++i)
      v |= static_cast<uint64_t>(static_cast<unsigned char>(byte[pos + i])) << (8 * i);
    pos += n;
    return v;
  }
  uint8_t u8() { return static_cast<uint8_t>(le(1)); }
  uint16_t u16() { return static_cast<uint16_t>(le(2)); }
  int16_t i16() { return static_cast<int16_t>(u16()); }
  int32_t i32() { return static_cast<int32_t>(static_cast<uint32_t>(le(4))); }
  double f64() { return std::bit_cast<double>(le(8)); }
};

std::string numero(std::size_t n) { return std::to_string(n); }

}  // namespace

bool decodifica_percorso(std::string_view byte, std::vector<cella_percorso>& celle,
                         std::string& motivo) {
  if (byte.empty()) {
    motivo = "the file is empty: a route grid holds at least one 15-byte cell";
    return false;
  }
  if (byte.size() % byte_cella != 0) {
    motivo = "length " + numero(byte.size()) + " bytes is not a whole number of 15-byte cells (" +
             numero(byte.size() / byte_cella) + " cells and " + numero(byte.size() % byte_cella) +
             " bytes over)";
    return false;
  }
  celle.assign(byte.size() / byte_cella, cella_percorso{});
  lettore l{byte};
  for (cella_percorso& c : celle) {
    c.tipo = l.u8();
    c.dato1 = l.i16();
    c.dato2 = l.i16();
    c.dato3 = l.i16();
    c.dato4 = l.i16();
    c.tempo_segnale = l.u8();
    c.avviso_segnale = l.u8();
    c.montagna = l.u8();
    c.velocita = l.u8();
    c.pendenza = l.u8();
    c.aderenza = l.u8();
  }
  return true;
}

bool decodifica_stazioni(std::string_view byte, std::array<record_stazione, numero_slot>& tabella,
                         std::string& motivo) {
  // Read into a table of our own: the caller's is touched only when the whole file is sound.
  std::array<record_stazione, numero_slot> letta;
  lettore l{byte};
  for (int slot = 0; slot < numero_slot; ++slot) {
    const std::size_t inizio = l.pos;
    auto corto = [&](const std::string& cosa) {
      motivo = "slot " + std::to_string(slot) + " (from byte " + numero(inizio) + ") is cut short: " +
               cosa + "; a station table holds 87 records of 34 bytes plus their names";
      return false;
    };
    // The fixed part before the name: marca, three 32-bit values, marca2, the name's length.
    if (l.restano() < 16) return corto(numero(l.restano()) + " bytes left, 16 needed before the name");
    record_stazione& r = letta[slot];
    r.marca = l.u8();
    r.valore1 = l.i32();
    r.valore2 = l.i32();
    r.valore3 = l.i32();
    r.marca2 = l.u8();
    const std::size_t n = l.u16();
    if (l.restano() < n + (byte_stazione_senza_nome - 16))
      return corto("its name of " + numero(n) + " bytes and the 18 bytes after it need " +
                   numero(n + 18) + ", " + numero(l.restano()) + " left");
    r.nome.assign(byte.substr(l.pos, n));
    l.pos += n;
    r.intero1 = l.i16();
    r.intero2 = l.i16();
    r.intero3 = l.i16();
    r.intero4 = l.i16();
    r.intero5 = l.i16();
    r.ottetto1 = l.u8();
    r.ottetto2 = l.u8();
    r.ottetto3 = l.u8();
    r.ottetto4 = l.u8();
    r.codice = l.i32();
  }
  if (l.restano() != 0) {
    motivo = numero(l.restano()) + " bytes follow the 87th record (which ends at byte " +
             numero(l.pos) + "); a station table holds exactly 87 records";
    return false;
  }
  tabella = std::move(letta);
  return true;
}

bool decodifica_linea(std::string_view byte, std::array<asse_linea, 2>& griglia,
                      std::string& motivo) {
  // First walk: check every tag and length and count the elements, so that the
  // x and y halves are known before anything is stored.
  std::size_t quanti = 0;
  for (lettore l{byte}; l.restano() > 0; ++quanti) {
    const std::size_t inizio = l.pos;
    auto guasto = [&](const std::string& cosa) {
      motivo = "element " + numero(quanti) + " at byte " + numero(inizio) + ": " + cosa;
      return false;
    };
    if (l.restano() < byte_tag) return guasto("cut short: 1 byte left, a 2-byte tag needed");
    const uint16_t tag = l.u16();
    std::size_t valore = 0;
    switch (tag) {
      case elemento_vuoto: valore = 0; break;
      case elemento_intero: valore = byte_intero_linea; break;
      case elemento_reale: valore = byte_reale_linea; break;
      default: return guasto("unknown tag " + std::to_string(tag) + " (0 empty, 2 integer, 5 double)");
    }
    if (l.restano() < valore)
      return guasto("cut short: its value needs " + numero(valore) + " bytes, " +
                    numero(l.restano()) + " left");
    l.pos += valore;
  }
  if (quanti == 0 || quanti % 2 != 0) {
    motivo = quanti == 0 ? "the file is empty: a line plan holds an x and a y for every metre"
                         : numero(quanti) +
                               " elements: a line plan holds as many y as x, so an even count";
    return false;
  }
  // Second walk: the bytes are known to be sound.
  lettore l{byte};
  for (asse_linea& coordinata : griglia) {
    coordinata.tag.assign(quanti / 2, elemento_vuoto);
    coordinata.valore.assign(quanti / 2, 0.0);
    for (std::size_t j = 0; j < quanti / 2; ++j) {
      // Only the three known tags are left: they fit a byte.
      const uint16_t tag = l.u16();
      coordinata.tag[j] = static_cast<uint8_t>(tag);
      if (tag == elemento_intero) coordinata.valore[j] = l.i16();
      if (tag == elemento_reale) coordinata.valore[j] = l.f64();
    }
  }
  return true;
}
