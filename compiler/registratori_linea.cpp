#include "compiler/registratori_linea.h"

#include "compiler/celle.h"
#include "compiler/codici_errore.h"
#include "compiler/descrizioni.h"
#include "compiler/fallimento_comune.h"

namespace {

struct terna {
  int32_t primo = 0, secondo = 0, terzo = 0;
};

terna da_slot(const record_stazione& r) { return {r.valore1, r.valore2, r.valore3}; }

void in_slot(record_stazione& r, const terna& t) {
  r.valore1 = t.primo;
  r.valore2 = t.secondo;
  r.valore3 = t.terzo;
}

}  // namespace

void progressive_ordina(compilazione& f) {
  auto& tab = f.scenario.tabella_stazioni;
  const terna t = da_slot(tab[slot_progressiva_alta]), d = da_slot(tab[slot_progressiva_media]),
              u = da_slot(tab[slot_progressiva_bassa]);
  const terna zero;
  terna in81 = t, in82 = d, in83 = u;

  if (int64_t{t.primo} + d.primo + u.primo != 0) {
    // Of the two left, the greater first value goes to 82; on a tie the one
    // from the higher-numbered slot does.
    if (t.primo > d.primo && t.primo > u.primo) {
      in81 = t;
      if (d.primo > u.primo) in82 = d, in83 = u;
      else in82 = u, in83 = d;
    } else if (d.primo > t.primo && d.primo > u.primo) {
      in81 = d;
      if (t.primo > u.primo) in82 = t, in83 = u;
      else in82 = u, in83 = t;
    } else if (u.primo > t.primo && u.primo > d.primo) {
      in81 = u;
      if (t.primo > d.primo) in82 = t, in83 = d;
      else in82 = d, in83 = t;
    } else {
      in81 = in82 = in83 = zero;  // the largest first value is shared
    }
  } else if (u.secondo > 0) {
    in81 = u, in82 = d, in83 = t;
  } else if (d.secondo > 0) {
    in81 = d, in82 = t, in83 = u;
  } else if (t.secondo <= 0) {
    in81 = in82 = in83 = zero;
  }
  in_slot(tab[slot_progressiva_alta], in81);
  in_slot(tab[slot_progressiva_media], in82);
  in_slot(tab[slot_progressiva_bassa], in83);

  for (int s = slot_progressiva_alta; s <= slot_progressiva_bassa; ++s)
    if (tab[s].valore3 == 1)
      tab[s].valore2 = intero_o_esci(int64_t{tab[s].valore2} + 100, "a kilometre reference's second value plus 100");
}

bool memo_montagna(compilazione& f, int32_t inizio, int32_t fine, int32_t tipo) {
  if (f.numero_montagne < 0 || f.numero_montagne >= numero_voci_montagne - 1) {
    registra_errore(f, errore_montagne_troppe);
    return false;
  }
  const int64_t c0 = cella_di(inizio / 50.0);
  const int64_t c1 = cella_di(fine / 50.0 - 1);
  // A span that lays no cell (c1 < c0) is still counted; one that would lay a
  // cell outside the grid is refused.
  if (c0 <= c1 && (!nel_percorso(f, c0) || !nel_percorso(f, c1))) {
    registra_errore(f, errore_montagna_fuori_percorso);
    return false;
  }

  const bool marcata = tipo > 10;
  if (marcata) tipo -= 10;
  const int32_t n = ++f.numero_montagne;
  f.inizio_montagne[n] = inizio;
  f.fine_montagne[n] = fine;
  // Spans 150 m apart or closer (overlapping too) run on as one: type 3.
  if (n > 1 && int64_t{inizio} - f.fine_montagne[n - 1] <= 150) tipo = 3;

  int64_t conta = 0;
  for (int64_t c = c0; c <= c1; ++c) {
    cella_percorso& cella = f.scenario.percorso[c];
    cella.montagna = bassi_8(tipo);
    ++conta;
    // A marked span shows a marker every 200 m: its 4th, 8th, ... cell.
    if (marcata && conta % 4 == 0 && cella.tipo == tipo_vuoto) {
      cella.tipo = tipo_marca_montagna;
      posa_elemento(f, c);
    }
  }
  return true;
}

bool memo_indicatori_v_max(compilazione& f, int32_t posizione, int32_t vas, int32_t vbs, int32_t vcs,
                           int32_t strisces, int32_t vad, int32_t vbd, int32_t vcd,
                           int32_t strisced) {
  // The stripe counts are 16-bit values, and so is their combination.
  const int16_t s = converti_o_esci<int16_t>(strisces, "strisces");
  const int16_t d = converti_o_esci<int16_t>(strisced, "strisced");
  const int64_t c = cella_di(posizione / 50.0 + 1);
  if (!nel_percorso(f, c)) {
    registra_errore(f, errore_indicatore_fuori_percorso);
    return false;
  }
  cella_percorso& cella = f.scenario.percorso[c];
  if (!libera(cella)) {
    registra_errore(f, errore_indicatore_occupato);
    dettaglia_errore(f.registro, descrivi_cella(f.scenario, f.registro, c, f.riga_in_posa));
    colpevole_cella(f.scenario, f.registro, c, f.riga_in_posa);
    return false;
  }
  cella.tipo = tipo_cartello_vmax;
  posa_elemento(f, c);
  cella.dato1 = converti_o_esci<int16_t>(20.0 * vas + vad / 5.0, "20 x vas + vad / 5");
  cella.dato2 = converti_o_esci<int16_t>(20.0 * vbs + vbd / 5.0, "20 x vbs + vbd / 5");
  cella.dato3 = converti_o_esci<int16_t>(20.0 * vcs + vcd / 5.0, "20 x vcs + vcd / 5");
  // In 16 bits at every step: a product that does not fit fails even when the sum would.
  cella.dato4 = converti_o_esci<int16_t>(converti_o_esci<int16_t>(10 * s, "10 x strisces") + d,
                                         "10 x strisces + strisced");
  return true;
}
