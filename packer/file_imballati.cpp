#include "packer/file_imballati.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "formato/piano_linea.h"

namespace {

// Writes little-endian members, byte by byte whatever the machine's own
// order, into a buffer already sized to the exact total. The bytes of a
// member are spelled out one by one (the compiler merges them into one store).
struct scrittore {
  char* p;

  void metti(uint8_t v) { *p++ = static_cast<char>(v); }
  void metti(uint16_t v) {
    p[0] = static_cast<char>(v);
    p[1] = static_cast<char>(v >> 8);
    p += 2;
  }
  void metti(int16_t v) { metti(static_cast<uint16_t>(v)); }
  void metti(uint32_t u) {
    p[0] = static_cast<char>(u);
    p[1] = static_cast<char>(u >> 8);
    p[2] = static_cast<char>(u >> 16);
    p[3] = static_cast<char>(u >> 24);
    p += 4;
  }
  void metti(int32_t v) { metti(static_cast<uint32_t>(v)); }
  void metti(double v) {
    const uint64_t u = std::bit_cast<uint64_t>(v);
    metti(static_cast<uint32_t>(u));
    metti(static_cast<uint32_t>(u >> 32));
  }
  // A text: its length, then its bytes, cut where the length field ends.
  void metti(const std::string& t) {
    const std::size_t n = byte_testo(t);
    metti(static_cast<uint16_t>(n));
    t.copy(p, n);
    p += n;
  }

  // Every field of record `r`, in the order of its description.
  template <class R, class Campi>
  void metti_record(const R& r, const Campi& campi) {
    per_ogni_campo(campi, [this, &r](const auto& c) { this->metti(r.*c.membro); });
  }
};

// The bytes of a plan element: its tag and the value the tag announces (an
// unknown tag is packed as an empty element).
std::size_t byte_elemento(uint8_t tag) {
  std::size_t valore = 0;
  return byte_tag + (byte_valore(tag, valore) ? valore : 0);
}

// The points of a plan coordinate: those that have both a tag and a value.
std::size_t punti(const asse_linea& a) { return std::min(a.tag.size(), a.valore.size()); }

// Up to `posti` more points of the walk, each x at `qx` and its y at `qy`,
// both cursors moved past them; returns how many. Kept out of line: in a
// function of its own, with no call in it, the walk's values stay in
// registers instead of the slots of the caller's frame.
[[gnu::noinline]] int64_t punti_reali(cammino_piano& cammino, int64_t posti, char*& qx, char*& qy) {
  scrittore ex{qx}, ey{qy};
  const int64_t fatti = avanza(cammino, posti, [&ex, &ey](double x, double y) {
    ex.metti(static_cast<uint16_t>(elemento_reale));
    ex.metti(x);
    ey.metti(static_cast<uint16_t>(elemento_reale));
    ey.metti(y);
  });
  qx = ex.p;
  qy = ey.p;
  return fatti;
}

// ---- Reading back ----


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

// The plan as a packed file holds its points, given one by one ([0] x, [1] y):
// a plan read back.
std::string codifica_punti(const std::array<asse_linea, 2>& punti_dati) {
  std::size_t totale = 0;
  for (const asse_linea& coordinata : punti_dati)
    for (std::size_t j = 0, n = punti(coordinata); j < n; ++j)
      totale += byte_elemento(coordinata.tag[j]);
  std::string out(totale, '\0');
  scrittore w{out.data()};
  // All x first, then all y: the metre index runs fastest.
  for (const asse_linea& coordinata : punti_dati) {
    const std::size_t n = punti(coordinata);
    for (std::size_t j = 0; j < n; ++j) {
      switch (coordinata.tag[j]) {
        case elemento_intero:
          // An integer point's value is a 16-bit integer held exactly.
          w.metti(static_cast<uint16_t>(elemento_intero));
          w.metti(static_cast<int16_t>(coordinata.valore[j]));
          break;
        case elemento_reale:
          w.metti(static_cast<uint16_t>(elemento_reale));
          w.metti(coordinata.valore[j]);
          break;
        default:  // never filled
          w.metti(static_cast<uint16_t>(elemento_vuoto));
          break;
      }
    }
  }
  return out;
}

}  // namespace

// ---- Route grid ----

std::string codifica_percorso(const scenario& f) {
  std::string out(byte_cella * f.percorso.size(), '\0');
  scrittore w{out.data()};
  for (const cella_percorso& c : f.percorso) w.metti_record(c, campi_cella);
  return out;
}

bool decodifica_percorso(std::string_view byte, scenario& s, std::string& motivo) {
  std::vector<cella_percorso>& celle = s.percorso;
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

// ---- Station table ----

std::string codifica_stazioni(const scenario& f) {
  std::size_t totale = 0;
  for (const record_stazione& r : f.tabella_stazioni) totale += byte_stazione_senza_nome + byte_testo(r.nome);
  std::string out(totale, '\0');
  scrittore w{out.data()};
  for (const record_stazione& r : f.tabella_stazioni) w.metti_record(r, campi_stazione);
  return out;
}

bool decodifica_stazioni(std::string_view byte, scenario& s, std::string& motivo) {
  std::array<record_stazione, numero_slot>& tabella = s.tabella_stazioni;
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

// ---- Line plan ----

void codifica_linea(const scenario& f, const scrivi_pezzo& scrivi) {
  constexpr std::size_t byte_reale = byte_tag + byte_reale_linea;
  static_assert(byte_pezzo_linea >= 4 * byte_reale);
  const piano_linea& p = f.griglia_linea;
  if (!p.letti[0].tag.empty()) {
    const std::string tutti = codifica_punti(p.letti);
    for (std::size_t da = 0; da < tutti.size(); da += byte_pezzo_linea)
      scrivi(da, std::string_view(tutti).substr(da, byte_pezzo_linea));
    return;
  }
  // The stretches end within the plan (the parser sees to it); points past
  // its end would break the layout, so a plan that says otherwise packs none.
  const bool reali = p.origine && p.punti >= 2 && ultimo_punto(p) < p.punti;
  const int64_t ultimo = reali ? ultimo_punto(p) : -1;  // the last point that is not empty
  // One coordinate: points 0 and 1 (4 bytes each), the real points, the empty ones.
  const uint64_t meta = reali ? 2 * (byte_tag + byte_intero_linea) + static_cast<uint64_t>(ultimo - 1) * byte_reale +
                                    static_cast<uint64_t>(p.punti - ultimo - 1) * byte_tag
                              : static_cast<uint64_t>(p.punti) * byte_tag;
  // x and y have the same layout, so their buffers fill in step.
  std::string pezzi(2 * byte_pezzo_linea, '\0');
  char* const inizio[2] = {pezzi.data(), pezzi.data() + byte_pezzo_linea};
  const std::ptrdiff_t pieno = static_cast<std::ptrdiff_t>(byte_pezzo_linea - byte_reale);  // no room for one more
  std::ptrdiff_t usati = 0;
  uint64_t posizione = 0;  // of the next x piece; its y piece lies `meta` further
  auto svuota = [&] {
    if (usati == 0) return;
    scrivi(posizione, std::string_view(inizio[0], static_cast<std::size_t>(usati)));
    scrivi(meta + posizione, std::string_view(inizio[1], static_cast<std::size_t>(usati)));
    posizione += static_cast<uint64_t>(usati);
    usati = 0;
  };
  auto fai_posto = [&] {
    if (usati > pieno) svuota();
  };

  int64_t j = 0;
  if (reali) {
    // Points 0 and 1: (0, 0) and (0, 1), 16-bit integers.
    for (int c = 0; c < 2; ++c) {
      scrittore w{inizio[c]};
      w.metti(static_cast<uint16_t>(elemento_intero));
      w.metti(int16_t{0});
      w.metti(static_cast<uint16_t>(elemento_intero));
      w.metti(static_cast<int16_t>(c));
    }
    usati = 2 * (byte_tag + byte_intero_linea);
    // As many points as the buffers hold at a time, so that no call
    // interrupts the walk.
    cammino_piano cammino{p};
    for (;;) {
      fai_posto();
      char* qx = inizio[0] + usati;  // room for one point at least
      char* qy = inizio[1] + usati;
      const int64_t posti = (pieno - usati) / static_cast<std::ptrdiff_t>(byte_reale) + 1;
      const int64_t fatti = punti_reali(cammino, posti, qx, qy);
      usati = qx - inizio[0];
      if (fatti == 0) break;
    }
    j = ultimo + 1;
  }
  for (; j < p.punti; ++j) {  // never filled
    fai_posto();
    for (int c = 0; c < 2; ++c) {
      scrittore w{inizio[c] + usati};
      w.metti(static_cast<uint16_t>(elemento_vuoto));
    }
    usati += byte_tag;
  }
  svuota();
}

std::string codifica_linea(const scenario& f) {
  return in_memoria([&f](const scrivi_pezzo& scrivi) { codifica_linea(f, scrivi); });
}

bool decodifica_linea(std::string_view byte, scenario& s, std::string& motivo) {
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
  piano_linea& piano = s.griglia_linea;
  piano = piano_linea{};
  piano.punti = static_cast<int64_t>(quanti / 2);
  lettore l{byte};
  for (asse_linea& coordinata : piano.letti) {
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
