#include "packer/file_imballati.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "compiler/piano_linea.h"

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

}  // namespace

std::string codifica_percorso(const Form1& f) {
  std::string out(byte_cella * f.percorso.size(), '\0');
  scrittore w{out.data()};
  for (const cella_percorso& c : f.percorso) w.metti_record(c, campi_cella);
  return out;
}

std::string codifica_stazioni(const Form1& f) {
  std::size_t totale = 0;
  for (const record_stazione& r : f.tabella_stazioni) totale += byte_stazione_senza_nome + byte_testo(r.nome);
  std::string out(totale, '\0');
  scrittore w{out.data()};
  for (const record_stazione& r : f.tabella_stazioni) w.metti_record(r, campi_stazione);
  return out;
}

void codifica_linea(const Form1& f, const scrivi_pezzo& scrivi) {
  constexpr std::size_t byte_reale = byte_tag + byte_reale_linea;
  static_assert(byte_pezzo_linea >= 4 * byte_reale);
  const piano_linea& p = f.griglia_linea;
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

std::string codifica_linea(const Form1& f) {
  return in_memoria([&f](const scrivi_pezzo& scrivi) { codifica_linea(f, scrivi); });
}

std::string codifica_linea(const std::array<asse_linea, 2>& punti_dati) {
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
