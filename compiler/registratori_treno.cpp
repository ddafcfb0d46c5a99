#include "compiler/registratori_treno.h"

#include "compiler/celle.h"
#include "compiler/avvisi_righe.h"
#include "compiler/codici_errore.h"
#include "compiler/descrizioni.h"

bool memo_segnale(compilazione& f, int32_t posizione, int32_t sx, int32_t s1, int32_t s2, int32_t s3,
                  int32_t rapp, int32_t dx, int32_t d1, int32_t d2, int32_t d3, int32_t& tempo) {
  const int64_t i = cella_di(posizione / 50.0 + 1);
  if (!nel_percorso(f, i)) {
    registra_errore(f, errore_segnale_fuori_percorso);
    return false;
  }
  cella_percorso& cella = f.scenario.percorso[i];
  if (!libera(cella)) {
    registra_errore(f, errore_segnale_occupato);
    dettaglia_errore(f.registro, descrivi_cella(f.scenario, f.registro, i, f.riga_in_posa));
    colpevole_cella(f.scenario, f.registro, i, f.riga_in_posa);
    return false;
  }
  // The farthest approach mark lies 400 m (8 cells) before the signal.
  if (!nel_percorso(f, i - 8)) {
    registra_errore(f, errore_segnale_fuori_percorso);
    return false;
  }
  // Left side in the tens, right side in the units; sx and dx a base-3 pair.
  cella.tipo = tipo_segnale;
  posa_elemento(f, i);
  cella.dato4 = bassi_16(10 * int64_t{rapp} + 3 * int64_t{sx} + dx);
  cella.dato1 = bassi_16(10 * int64_t{s1} + d1);
  cella.dato2 = bassi_16(10 * int64_t{s2} + d2);
  cella.dato3 = bassi_16(10 * int64_t{s3} + d3);
  if (tempo >= 1 && tempo <= 100) tempo = 101;
  cella.tempo_segnale = sx == 2 ? bassi_8(tempo) : 0;
  segni_sovrascritti segni;
  for (int k = 1; k <= 4; ++k) posa_segno_su(f, i - 2 * k, bassi_8(30 * int64_t{sx} + 10 * int64_t{dx} + k), segni);
  avvisa_segni(f, segni);
  return true;
}

bool memo_rallentamento(compilazione& f, int32_t x, int32_t v, int32_t l, int32_t f_tt, int32_t f_ta,
                        int32_t d_v) {
  // Only a slow order starting beyond 1500 m has a warning board (and a countdown).
  const bool avviso = x > 1500;
  if (!avviso) f_ta = 0;
  const double prima = (int64_t{x} - 1200) / 50.0;
  const int64_t a = cella_di(prima + 1);
  const int64_t inizio = cella_di(x / 50.0 + 1);
  const int64_t fine = cella_di((int64_t{x} + l) / 50.0 + 1);
  const int64_t b = cella_di(prima);

  // Each cell is tested in turn, board, start, end: one outside the grid is
  // refused where its test stands, so a taken cell before it is refused as taken.
  auto fuori = [&f] {
    registra_errore(f, errore_rallentamento_fuori_percorso);
    return false;
  };
  if (avviso && (!nel_percorso(f, a) || (f_ta != 0 && (!nel_percorso(f, b) || !nel_percorso(f, b - 3)))))
    return fuori();
  auto occupata = [&f](int32_t codice, int64_t c, std::string_view quale) {
    registra_errore(f, codice);
    dettaglia_errore(f.registro, std::string(quale) + ": " + descrivi_cella(f.scenario, f.registro, c, f.riga_in_posa));
    colpevole_cella(f.scenario, f.registro, c, f.riga_in_posa);
    return false;
  };
  if (avviso && !libera(f.scenario.percorso[a])) return occupata(errore_avviso_occupato, a, "its warning board");
  if (!nel_percorso(f, inizio)) return fuori();
  if (!libera(f.scenario.percorso[inizio])) return occupata(errore_inizio_occupato, inizio, "its start");
  if (!nel_percorso(f, fine)) return fuori();
  if (!libera(f.scenario.percorso[fine])) return occupata(errore_fine_occupato, fine, "its end");

  // In this order: where two cells coincide the later write wins (a slow
  // order shorter than 25 m ends up as a start only).
  cella_percorso& e = f.scenario.percorso[fine];
  e.tipo = tipo_fine_rallentamento;
  posa_elemento(f, fine);
  if (d_v != 0) e.dato2 = bassi_16(d_v);
  cella_percorso& s = f.scenario.percorso[inizio];
  s.tipo = tipo_inizio_rallentamento;
  posa_elemento(f, inizio);
  if (d_v != 0) s.dato2 = bassi_16(d_v);
  if (avviso) {
    cella_percorso& w = f.scenario.percorso[a];
    w.tipo = tipo_avviso_rallentamento;
    posa_elemento(f, a);
    if (d_v != 0) w.dato2 = bassi_16(d_v);
    w.dato1 = bassi_16(v);
  }
  f.scenario.percorso[inizio].dato1 = bassi_16(v);
  f.scenario.percorso[fine].dato1 = bassi_16(v);
  f.scenario.percorso[inizio].dato3 = bassi_16(f_tt);
  f.scenario.percorso[fine].dato3 = bassi_16(f_tt);

  if (f_ta != 0) {
    for (int k = 0; k < 4; ++k)
      if (!libera(f.scenario.percorso[b - k]))
        return occupata(errore_conto_occupato, b - k, "its countdown cell " + std::to_string(k + 1));
    for (int k = 0; k < 4; ++k) {
      cella_percorso& c = f.scenario.percorso[b - k];
      c.tipo = tipo_conto_rallentamento;
      posa_elemento(f, b - k);
      c.dato1 = static_cast<int16_t>(k + 1);
      if (d_v != 0) c.dato2 = static_cast<int16_t>(k + 1);
    }
  }
  return true;
}
