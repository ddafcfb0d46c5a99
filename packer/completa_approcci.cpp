#include "packer/completa_approcci.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "compiler/codici_avviso.h"
#include "compiler/codici_errore.h"
#include "compiler/descrizioni.h"
#include "compiler/minimo.h"

namespace {

// Slow orders below this speed get a point every 8 cells along them.
constexpr int16_t velocita_senza_cammino = 110;
// Signals this many cells behind a warning board (1000 m) get a point before them.
constexpr int celle_dietro_avviso = 20;
// Distance in cells between the points along a slow order (400 m).
constexpr int passo_cammino = 8;
// Cells after a slow order's end searched for the next signal (600 m).
constexpr int celle_dopo_fine = 12;

// The three groups of cells before a slow order's start: each is tried
// only when the start lies beyond the group's farthest cell.
struct gruppo_inizio {
  int limite;
  int celle[3];
};
constexpr gruppo_inizio gruppi_inizio[] = {
    {7, {5, 6, 7}},
    {13, {11, 12, 13}},
    {20, {18, 19, 20}},
};

struct passata {
  const scenario& s;
  registro& r;
  std::vector<cella_percorso>& p;
  int n;  // highest index of the grid
  int32_t per = nessuna_riga;  // the row (signal or slow order) the points being laid are for

  bool libera(int c) const {
    if (c < 0 || c > n) return false;  // outside the grid nothing is free
    return tipo_libero(p[static_cast<std::size_t>(c)].tipo);
  }
  uint8_t tipo(int c) const { return p[static_cast<std::size_t>(c)].tipo; }
  void poni(int c) {
    cella_percorso& cella = p[static_cast<std::size_t>(c)];
    cella.tipo = tipo_abbattimento;
    cella.dato1 = velocita_approccio;
    if (static_cast<std::size_t>(c) < r.origini_celle.size()) {
      origine_cella& o = r.origini_celle[static_cast<std::size_t>(c)];
      o.elemento = per;  // the approach mark's origin stays
      o.da_approcci = true;
    }
  }
  // The row that laid the feature of cell c, for naming it.
  int32_t riga_di(int c) const { return origine_di(r, c).elemento; }
  std::string nome(const char* cosa, int c) const {
    const std::string luogo = luogo_riga(r, riga_di(c));
    return std::string(cosa) + (luogo.empty() ? "" : " from " + luogo) + " on cell " + std::to_string(c);
  }
  // "cell 40 holds ...; cell 39 holds ..." for the cells tried.
  std::string tenute(std::initializer_list<int> celle) const {
    std::string t;
    for (int c : celle) t += (t.empty() ? "" : "; ") + descrivi_cella(s, r, c);
    return t;
  }
  // The rows of the error just recorded, in the order its detail names them:
  // the features named, then what holds the cells tried.
  void colpevoli(std::initializer_list<int> nominate, std::initializer_list<int> celle) {
    for (int c : nominate) colpevole(r, riga_di(c));
    for (int c : celle) colpevole_cella(s, r, c);
  }
  // A slow order of negative length has its end before its start: the walk
  // along it runs on past where it was meant to end. Said after an error of
  // the walk, as its cause (the compiler told the row: warning 334).
  std::string lunghezza_negativa() const {
    if (per < 0 || static_cast<std::size_t>(per) >= r.righe_lette.size()) return {};
    const riga_letta& rl = r.righe_lette[static_cast<std::size_t>(per)];
    if (rl.tipo != tipo_riga::rallentamento || rl.lunghezza >= 0) return {};
    return "; its length is " + std::to_string(rl.lunghezza) + " m, so its end lies before its start and the walk "
           "runs on past where it was meant to end (" + nome_avviso(avviso_rallentamento_lunghezza) + " at " + luogo_riga(r, per) + ")";
  }
  void abbassa(int c) {
    cella_percorso& cella = p[static_cast<std::size_t>(c)];
    cella.dato1 = minimo(velocita_approccio, cella.dato1);
  }

  // A point before each signal among the 20 cells behind a warning board at i.
  void dietro_avviso(int i) {
    for (int k = 1; k <= celle_dietro_avviso; ++k) {
      const int d = i - k;
      if (d < 3) return;
      if (tipo(d) != tipo_segnale) continue;
      per = riga_di(d);
      if (libera(d - 1)) {
        poni(d - 1);
      } else if (libera(d - 2)) {
        poni(d - 2);
      } else if (tipo(d - 1) == tipo_abbattimento) {
        abbassa(d - 1);
      } else if (tipo(d - 2) == tipo_abbattimento) {
        abbassa(d - 2);
      } else {
        registra_errore(r, errore_approccio_segnale, d * 50);
        dettaglia_errore(r, nome("the signal", d) + " stands " + std::to_string(k * 50) + " m behind " +
                                nome("the warning board of the slow order", i) + ", and neither cell before it is "
                                "free: " + tenute({d - 1, d - 2}));
        colpevoli({d, i}, {d - 1, d - 2});
      }
    }
  }

  // Points before, along and after the slow order starting at i.
  void rallentamento(int i) {
    per = riga_di(i);
    for (const gruppo_inizio& g : gruppi_inizio) {
      if (i <= g.limite) continue;
      bool posto = false;
      for (int distanza : g.celle) {
        if (libera(i - distanza)) {
          poni(i - distanza);
          posto = true;
          break;
        }
      }
      if (!posto) {
        registra_errore(r, errore_approccio_rallentamento, i * 50);
        dettaglia_errore(r, "before " + nome("the start of the slow order", i) + ": " +
                                tenute({i - g.celle[0], i - g.celle[1], i - g.celle[2]}));
        colpevoli({i}, {i - g.celle[0], i - g.celle[1], i - g.celle[2]});
      }
    }

    // A slow order at 110 or more gets neither the walk nor the point after
    // its end: the search after the end starts from where the walk stopped.
    if (p[static_cast<std::size_t>(i)].dato1 >= velocita_senza_cammino) return;

    // The walk: a point every 8 cells, counted from the cell that actually
    // took the previous one. After a refusal the counter has passed 8 and no
    // further point is laid along this slow order. A start without an end
    // cell before the grid's last cell stops there.
    int conto = 0;
    int k = i;
    do {
      ++k;
      ++conto;
      if (conto == passo_cammino) {
        if (libera(k)) {
          poni(k);
          conto = 0;
        } else if (libera(k - 1)) {
          poni(k - 1);
          conto = 1;
        } else if (libera(k + 1)) {
          poni(k + 1);
          conto = -1;
        } else {
          registra_errore(r, errore_cammino_rallentamento, k * 50);
          dettaglia_errore(r, "along " + nome("the slow order", i) + ", no point every 400 m from cell " +
                                  std::to_string(k) + " on: " + tenute({k, k - 1, k + 1}) + lunghezza_negativa());
          colpevoli({i}, {k, k - 1, k + 1});
        }
      }
    } while (tipo(k) != tipo_fine_rallentamento && k < n);

    // The first signal within 12 cells from the end: a point just before it.
    int s = 0;
    for (int m = k; m <= k + celle_dopo_fine && m <= n; ++m) {
      if (tipo(m) == tipo_segnale) {
        s = m - 1;
        break;
      }
    }
    if (s > 0) {
      if (libera(s)) {
        poni(s);
      } else if (libera(s - 1)) {
        poni(s - 1);
      } else {
        registra_errore(r, errore_cammino_rallentamento, k * 50);  // the end cell's position
        dettaglia_errore(r, nome("the signal", s + 1) + " follows " + nome("the end of the slow order", k) +
                                ", and neither cell before it is free: " + tenute({s, s - 1}) + lunghezza_negativa());
        colpevoli({s + 1, k}, {s, s - 1});
      }
    }
  }
};

}  // namespace

void completa_approcci(scenario& s, registro& r) {
  if (s.percorso.empty()) return;
  passata ps{s, r, s.percorso, static_cast<int>(s.percorso.size()) - 1};
  for (int i = 1; i <= ps.n - 2; ++i) {
    if (ps.tipo(i) == tipo_avviso_rallentamento) ps.dietro_avviso(i);
    if (ps.tipo(i) == tipo_inizio_rallentamento) ps.rallentamento(i);
  }
}
