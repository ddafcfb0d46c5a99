#include "analisi/avvisi.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "formato/numeri.h"
#include "formato/testo_1252.h"

namespace {

// A number with one decimal, as the author reads kilometres and per cents.
std::string decimale(double x, bool con_segno = false) {
  char buf[64];
  std::snprintf(buf, sizeof buf, con_segno ? "%+.1f" : "%.1f", x);
  return buf;
}

std::string metri(double x) { return std::to_string(static_cast<int64_t>(arrotonda(x))); }

// A value as short as it reads: "5", "1.5", "0.25".
std::string numero_breve(double x) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%g", x);
  return buf;
}

// "A to B, 19.5 km: scheduled 10:00, fastest run 12:04, margin -124 s (-17.2 %)"
std::string tratta(const sezione& s) {
  const int64_t margine = static_cast<int64_t>(arrotonda(s.margine_s));
  return stampabile_da_1252(s.da.nome) + " to " + stampabile_da_1252(s.a.nome) + ", " + decimale(s.distanza_m / 1000.0) + " km: scheduled " +
         durata(s.tempo_orario_s) + ", fastest run " + durata(s.tempo_minimo_s) + ", margin " +
         (margine > 0 ? "+" : "") + std::to_string(margine) + " s (" + decimale(s.margine_percento, true) +
         " %)";
}

// Where the station in `slot` was written, when the row log gives it.
void alla_stazione(avviso_registrato& a, const registro& reg, int slot) {
  if (const riga_letta* r = riga_della_stazione(reg, slot); r != nullptr && r->riga > 0) {
    a.file = reg.file_treno;
    a.riga = r->riga;
    a.colonna = r->colonna;
  }
}

}  // namespace

std::string durata(double secondi) {
  if (!std::isfinite(secondi)) return "?";
  const int64_t t = static_cast<int64_t>(arrotonda(secondi));
  if (t < 0) return "-" + durata(static_cast<double>(-t));
  char buf[64];
  if (t >= 3600)
    std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", static_cast<long long>(t / 3600),
                  static_cast<long long>(t / 60 % 60), static_cast<long long>(t % 60));
  else
    std::snprintf(buf, sizeof buf, "%lld:%02lld", static_cast<long long>(t / 60), static_cast<long long>(t % 60));
  return buf;
}

const riga_letta* riga_della_stazione(const registro& reg, int slot) {
  int n = slot_prima_stazione - 1;
  for (const riga_letta& r : reg.righe_lette)
    if (r.tipo == tipo_riga::stazione && ++n == slot) return &r;
  return nullptr;
}

std::string testo_margine(const margine_recupero& m) {
  std::string r;
  if (m.percento > 0) r = numero_breve(m.percento) + " %";
  if (m.minuti_per_100_km > 0) r += (r.empty() ? "" : " + ") + numero_breve(m.minuti_per_100_km) + " min/100 km";
  return r.empty() ? "none" : r;
}

std::vector<avviso_registrato> avvisi_marcia(const registro& reg, const marcia& m) {
  std::vector<avviso_registrato> avvisi;
  for (const sezione& s : m.sezioni) {
    avviso_registrato a;
    if (!s.mantenibile) {
      a.codice = avviso_tratta_impossibile;
      a.testo = tratta(s) + "; no run keeps it";
      // The arrival is the departure less the dwell: a shorter dwell leaves more time.
      if (s.arrivo_derivato && s.sosta_che_tiene_s)
        a.testo += " with a dwell of " + durata(s.sosta_s) + " at " + stampabile_da_1252(s.a.nome) + "; one of " +
                   metri(*s.sosta_che_tiene_s) + " s or less would";
      else if (s.arrivo_derivato)
        a.testo += ", not even with no dwell at " + stampabile_da_1252(s.a.nome);
    } else if (!s.con_recupero) {
      a.codice = avviso_margine_scarso;
      a.testo = tratta(s) + "; with the recovery margin of " + testo_margine(m.modello.margine) + " (" +
                durata(s.recupero_s) + ") it needs " + durata(s.tempo_con_recupero_s) + ", " +
                metri(-s.residuo_s) + " s more";
    } else {
      continue;
    }
    a.con_posizione = true;
    a.posizione = s.a.posizione_m;
    alla_stazione(a, reg, s.a.slot);
    avvisi.push_back(std::move(a));
  }

  // A build that recorded an error stopped reading there, before the last
  // speed limit was laid to the route's end: the stretches it left with no
  // limit are the error's doing, not the author's, and are not told.
  const bool errori = !reg.errori.empty() || reg.codice_errore != 0;
  for (const intervallo& i : errori ? std::vector<intervallo>{} : m.senza_limite) {
    avviso_registrato a;
    a.codice = avviso_senza_limite;
    a.testo = "no speed limit laid from " + metri(i.inizio_m) + " m to " + metri(i.fine_m) + " m";
    for (const sezione& s : m.sezioni)
      if (s.da.posizione_m <= i.inizio_m && i.inizio_m < s.a.posizione_m) {
        a.testo += ", between " + stampabile_da_1252(s.da.nome) + " and " + stampabile_da_1252(s.a.nome);
        break;
      }
    a.testo += ": the run takes the train's top speed there, " +
               metri(m.modello.velocita_massima_kmh) + " km/h";
    a.con_posizione = true;
    a.posizione = static_cast<int32_t>(arrotonda(i.inizio_m));
    avvisi.push_back(std::move(a));
  }

  for (const sosta_fermata& x : m.soste_ignote) {
    avviso_registrato a;
    a.codice = avviso_sosta_senza_fermata;
    a.testo = "--dwell-at " + stampabile_da_1252(x.nome) +
              ": no stop of that name between the first and the last; its dwell is not used";
    avvisi.push_back(std::move(a));
  }
  return avvisi;
}
