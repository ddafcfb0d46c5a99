#include "documents/orari_marcia.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "compiler/codici_avviso.h"
#include "formato/numeri.h"
#include "formato/testo_1252.h"

namespace {

constexpr int64_t giorno_s = 86400;

// A time of the run (seconds, perhaps beyond one day or before 0) as seconds of the day.
int32_t del_giorno(double s) {
  const int64_t t = static_cast<int64_t>(arrotonda(s)) % giorno_s;
  return static_cast<int32_t>(t < 0 ? t + giorno_s : t);
}

double al_minuto(double s) { return arrotonda(s / 60.0) * 60.0; }

// How much the train's departure from the first stop of `s` comes after the
// sheet's `partenza`, in seconds: the same time of day within half a day
// either way of the train's.
int64_t scarto_partenza(const sezione& s, int32_t partenza) {
  int64_t scarto = (static_cast<int64_t>(arrotonda(s.partenza_s)) - partenza) % giorno_s;
  if (scarto < 0) scarto += giorno_s;
  if (scarto > giorno_s / 2) scarto -= giorno_s;
  return scarto;
}

// "5 minutes", "1 minute", "30 s": a difference of time in the warning's words.
std::string quanto(int64_t secondi) {
  if (secondi % 60 != 0) return std::to_string(secondi) + " s";
  return std::to_string(secondi / 60) + (secondi == 60 ? " minute" : " minutes");
}

std::string ora_minuti(int32_t s) {
  const int32_t m = s / 60;
  char b[8];
  std::snprintf(b, sizeof b, "%02d:%02d", static_cast<int>(m / 60 % 24), static_cast<int>(m % 60));
  return b;
}

}  // namespace

double recupero_in_minuti(double margine_s) {
  if (std::isnan(margine_s)) return 0.0;
  const double mezzi = arrotonda(std::clamp(margine_s, -1e9, 1e9) / 30.0);
  return std::clamp(mezzi / 2.0, recupero_minimo_min, recupero_massimo_min);
}

std::vector<orari_stazione> orari_da_marcia(const scenario& f, const marcia& m, std::optional<int32_t> partenza) {
  const std::vector<stazione_percorso> st = stazioni_percorso(f);
  std::vector<orari_stazione> orari(st.size());
  std::map<int, std::size_t> indice;  // a slot's place in route order
  for (std::size_t i = 0; i < st.size(); ++i) indice.emplace(st[i].slot, i);
  const auto di = [&](const stazione_marcia& s) -> orari_stazione* {
    const auto i = indice.find(s.slot);
    return i == indice.end() ? nullptr : &orari[i->second];
  };

  for (std::size_t k = 0; k < m.sezioni.size(); ++k) {
    const sezione& s = m.sezioni[k];
    double da = s.partenza_s, tempo_orario = s.tempo_orario_s, margine = s.margine_s;
    if (k == 0 && partenza) {
      const int64_t scarto = scarto_partenza(s, *partenza);
      da -= static_cast<double>(scarto);
      tempo_orario += static_cast<double>(scarto);
      margine += static_cast<double>(scarto);
    }
    if (k == 0)
      if (orari_stazione* o = di(s.da)) o->partenza = del_giorno(da);
    // The margin spread in proportion to the fastest run's time, as the timing spreads it.
    const double quota = s.tempo_minimo_s > 0 ? tempo_orario / s.tempo_minimo_s : 0.0;
    for (const passaggio& p : s.passaggi)
      if (orari_stazione* o = di(p.stazione))
        o->transito = del_giorno(k == 0 && partenza ? al_minuto(da + (p.ora_piu_veloce_s - s.partenza_s) * quota)
                                                    : p.ora_orario_s);
    if (orari_stazione* o = di(s.a)) {
      if (k + 1 == m.sezioni.size()) {
        o->arrivo = del_giorno(s.a.ora_s);
      } else {
        o->partenza = del_giorno(s.a.ora_s);
        o->arrivo = del_giorno(s.a.ora_s - s.sosta_s);
      }
      o->recupero = recupero_in_minuti(margine);
    }
  }
  // One stop alone: no section, its own time (or the sheet's) as the departure.
  if (m.sezioni.empty())
    for (std::size_t i = 0; i < st.size(); ++i)
      if (st[i].codice != 0) {
        orari[i].partenza = partenza.value_or(st[i].codice);
        break;
      }
  return orari;
}

documenti_derivati documenti_da_marcia(const scenario& f, const marcia& m, std::optional<int32_t> partenza,
                                       opzioni_documenti o) {
  if (!o.velocita_massima) o.velocita_massima = static_cast<int32_t>(arrotonda(m.modello.velocita_massima_kmh));
  o.sosta = static_cast<int32_t>(arrotonda(m.modello.sosta_s));
  const std::vector<orari_stazione> orari = orari_da_marcia(f, m, partenza);
  documenti_derivati d = deriva_documenti(f, orari, o);
  // A sheet that departs later than the train leaves its first section that
  // much shorter: once the fastest run no longer fits, the driver who keeps
  // the departure cannot keep the next stop. The section alone too short is
  // the timetable's own warning already.
  if (partenza && !m.sezioni.empty()) {
    const sezione& s = m.sezioni.front();
    const int64_t scarto = scarto_partenza(s, *partenza);
    const double margine = s.margine_s + static_cast<double>(scarto);
    if (scarto < 0 && margine < 0 && s.margine_s >= 0) {
      avviso_documento a;
      a.dove = "train sheet, departure";
      char rec[16];
      std::snprintf(rec, sizeof rec, "%.1f", recupero_in_minuti(margine));
      a.testo = "departs at " + ora_minuti(*partenza) + ", " + quanto(-scarto) + " after the train starts from " +
                stampabile_da_1252(s.da.nome) + " (" + ora_minuti(del_giorno(s.partenza_s)) + "): the section to " +
                stampabile_da_1252(s.a.nome) + " is then " + std::to_string(static_cast<long long>(arrotonda(-margine))) +
                " s shorter than the fastest run (Rec " + rec + "); its times cannot be kept from that departure";
      a.codice = avviso_partenza_scheda;
      a.slot = s.da.slot;
      d.avvisi.push_back(std::move(a));
    }
  }
  return d;
}
