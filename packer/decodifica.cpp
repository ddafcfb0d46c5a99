#include "packer/decodifica.h"

#include <bit>
#include <type_traits>
#include <utility>

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
  uint16_t u16() { return static_cast<uint16_t>(le(2)); }
  int16_t i16() { return static_cast<int16_t>(u16()); }
  double f64() { return std::bit_cast<double>(le(8)); }

  // A fixed-width field: as many bytes as its type holds.
  template <class T>
  void prendi(T& v) {
    static_assert(std::is_integral_v<T>);
    v = static_cast<T>(static_cast<std::make_unsigned_t<T>>(le(sizeof(T))));
  }
};

std::string numero(std::size_t n) { return std::to_string(n); }

// After a station's name: the fields that follow it in its record.
constexpr std::size_t byte_stazione_dopo_il_nome = byte_stazione_senza_nome - byte_stazione_prima_del_nome;

}  // namespace

bool decodifica_percorso(std::string_view byte, std::vector<cella_percorso>& celle,
                         std::string& motivo) {
  const std::string cella = numero(byte_cella) + "-byte cell";
  if (byte.empty()) {
    motivo = "the file is empty: a route grid holds at least one " + cella;
    return false;
  }
  if (byte.size() % byte_cella != 0) {
    motivo = "length " + numero(byte.size()) + " bytes is not a whole number of " + cella + "s (" +
             numero(byte.size() / byte_cella) + " cells and " + numero(byte.size() % byte_cella) +
             " bytes over)";
    return false;
  }
  celle.assign(byte.size() / byte_cella, cella_percorso{});
  lettore l{byte};
  for (cella_percorso& c : celle)
    per_ogni_campo(campi_cella, [&l, &c](const auto& campo) { l.prendi(c.*campo.membro); });
  return true;
}

bool decodifica_stazioni(std::string_view byte, std::array<record_stazione, numero_slot>& tabella,
                         std::string& motivo) {
  // Read into a table of our own: the caller's is touched only when the whole file is sound.
  std::array<record_stazione, numero_slot> letta;
  const std::string forma = "a station table holds " + numero(numero_slot) + " records of " +
                            numero(byte_stazione_senza_nome) + " bytes plus their names";
  lettore l{byte};
  for (int slot = 0; slot < numero_slot; ++slot) {
    const std::size_t inizio = l.pos;
    auto corto = [&](const std::string& cosa) {
      motivo = "slot " + std::to_string(slot) + " (from byte " + numero(inizio) + ") is cut short: " +
               cosa + "; " + forma;
      return false;
    };
    // The fixed part before the name; the name's length then tells whether the rest is there.
    if (l.restano() < byte_stazione_prima_del_nome)
      return corto(numero(l.restano()) + " bytes left, " + numero(byte_stazione_prima_del_nome) +
                   " needed before the name");
    record_stazione& r = letta[slot];
    std::size_t n = 0;
    bool intero = true;
    per_ogni_campo(campi_stazione, [&](const auto& campo) {
      if (!intero) return;
      if constexpr (campo_testo<std::remove_cvref_t<decltype(campo)>>) {
        n = l.u16();
        if (l.restano() < n + byte_stazione_dopo_il_nome) {
          intero = false;
          return;
        }
        (r.*campo.membro).assign(byte.substr(l.pos, n));
        l.pos += n;
      } else {
        l.prendi(r.*campo.membro);
      }
    });
    if (!intero)
      return corto("its name of " + numero(n) + " bytes and the " + numero(byte_stazione_dopo_il_nome) +
                   " bytes after it need " + numero(n + byte_stazione_dopo_il_nome) + ", " +
                   numero(l.restano()) + " left");
  }
  if (l.restano() != 0) {
    motivo = numero(l.restano()) + " bytes follow the " + numero(numero_slot) + "th record (which ends at byte " +
             numero(l.pos) + "); a station table holds exactly " + numero(numero_slot) + " records";
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
    if (l.restano() < byte_tag)
      return guasto("cut short: 1 byte left, a " + numero(byte_tag) + "-byte tag needed");
    const uint16_t tag = l.u16();
    std::size_t valore = 0;
    if (!byte_valore(tag, valore))
      return guasto("unknown tag " + std::to_string(tag) + " (" + std::to_string(elemento_vuoto) + " empty, " +
                    std::to_string(elemento_intero) + " integer, " + std::to_string(elemento_reale) + " double)");
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
