#include "analisi/marcia.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "formato/numeri.h"
#include "formato/vocabolario.h"

namespace {

constexpr double metri_cella = 50.0;
constexpr double giorno_s = 86400.0;
// A stop's time earlier than the one before it is read as a crossing of
// midnight when that makes the two at most half a day apart.
constexpr double mezza_giornata_s = 43200.0;

// An option that is not a number counts as not given.
std::optional<double> data(const std::optional<double>& o) {
  if (o && !std::isnan(*o)) return o;
  return std::nullopt;
}

double al_minuto(double s) { return arrotonda(s / 60.0) * 60.0; }

}  // namespace

// The stations of the table: from the first station slot up to the first
// empty slot, never into the kilometre boards' texts (which fill the table
// from its top down, the lowest one named by a board on the grid).
std::vector<stazione_marcia> stazioni_del_percorso(const scenario& f) {
  int ultimo = slot_cartelli;
  for (const cella_percorso& c : f.percorso)
    if (c.tipo == tipo_indicatore_km && c.dato1 >= slot_prima_stazione && c.dato1 <= slot_cartelli)
      ultimo = std::min(ultimo, c.dato1 - 1);
  std::vector<stazione_marcia> r;
  for (int s = slot_prima_stazione; s <= ultimo; ++s) {
    const record_stazione& st = f.tabella_stazioni[static_cast<std::size_t>(s)];
    if (st == record_stazione{}) break;
    r.push_back({s, st.nome, st.valore3, st.codice, static_cast<double>(st.codice)});
  }
  return r;
}

namespace {

constexpr dati_riferimento riferimenti[] = {
    // A regional electric multiple unit, per car: 45 t loaded, half of it on
    // motored axles, 650 kW and 50 kN (a four-car unit: 180 t, 2.6 MW, 200 kN,
    // a start at about 1 m/s²), 160 km/h.
    {"unit", "regional electric multiple unit", 0.0, 0.0, 0.0, 45.0, 0.5, 650.0, 50.0, 1.08, 160.0},
    // A four-axle electric locomotive of 87 t, 5.6 MW and 300 kN, for 200 km/h,
    // hauling coaches of 45 t loaded.
    {"locomotive", "electric locomotive with coaches", 87.0, 5600.0, 300.0, 45.0, 0.0, 0.0, 0.0, 1.06, 200.0},
};

}  // namespace

const dati_riferimento& dati_di(treno_riferimento t) {
  return riferimenti[t == treno_riferimento::elettrotreno ? 0 : 1];
}

std::optional<treno_riferimento> riferimento_di_nome(std::string_view nome) {
  if (nome == riferimenti[0].nome) return treno_riferimento::elettrotreno;
  if (nome == riferimenti[1].nome) return treno_riferimento::locomotiva;
  return std::nullopt;
}

treno_riferimento riferimento_per(int32_t vetture, int32_t percentuale_massa_frenata) {
  return vetture >= 1 && vetture <= vetture_massime_elettrotreno &&
                 percentuale_massa_frenata >= massa_frenata_minima_elettrotreno
             ? treno_riferimento::elettrotreno
             : treno_riferimento::locomotiva;
}

resistenza_davis resistenza_sauthoff(double massa_t, int32_t vetture) {
  const double peso = massa_t * gravita / 1000.0;  // kN per N/kN
  // The air's share, 0.0048 (n + 2.7) × 1.45 (V + 15)² N/kN of the weight, in kN.
  const double aria = 0.0048 * 1.45 * (std::max(0, vetture) + 2.7) * gravita / 1000.0;
  return {1.9 * peso + aria * 15.0 * 15.0, 0.0025 * peso + aria * 2.0 * 15.0, aria};
}

margine_recupero margine_predefinito(double velocita_massima_kmh) {
  const double v = velocita_massima_kmh;
  const double percento = v <= 120 ? 3.0 : v <= 160 ? 4.0 : v <= 200 ? 5.0 : v <= 250 ? 6.0 : 7.0;
  return {percento, 1.5};
}

modello_treno modello_da_scenario(const scenario& f, const opzioni_marcia& o) {
  const record_stazione& treno = f.tabella_stazioni[slot_treno_percorso];
  modello_treno m;
  m.percentuale_letta = treno.valore1;
  m.vetture = treno.valore3;
  m.riferimento = o.riferimento.value_or(riferimento_per(m.vetture, m.percentuale_letta));
  const dati_riferimento& r = dati_di(m.riferimento);
  // A multiple unit has one car at least; a locomotive may run alone.
  const int32_t vetture =
      std::max(m.riferimento == treno_riferimento::elettrotreno ? 1 : 0, std::min(m.vetture, 1000));
  m.massa_t = data(o.massa_t).value_or(r.massa_locomotiva_t + vetture * r.massa_vettura_t);
  m.massa_aderente_t = data(o.massa_aderente_t)
                           .value_or(std::clamp(r.massa_locomotiva_t + (m.massa_t - r.massa_locomotiva_t) * r.quota_aderente,
                                                0.0, m.massa_t));
  m.potenza_kw = data(o.potenza_kw).value_or(r.potenza_locomotiva_kw + vetture * r.potenza_vettura_kw);
  m.masse_rotanti = data(o.masse_rotanti).value_or(r.masse_rotanti);
  const resistenza_davis davis = resistenza_sauthoff(m.massa_t, vetture);
  m.resistenza_a_kn = data(o.resistenza_a_kn).value_or(davis.a);
  m.resistenza_b_kn = data(o.resistenza_b_kn).value_or(davis.b);
  m.resistenza_c_kn = data(o.resistenza_c_kn).value_or(davis.c);
  m.aderenza = data(o.aderenza).value_or(aderenza_di_riferimento);
  m.sforzo_trazione_kn =
      data(o.sforzo_trazione_kn).value_or(r.sforzo_locomotiva_kn + vetture * r.sforzo_vettura_kn);
  m.resistenza_curve = data(o.resistenza_curve).value_or(resistenza_curve_rockl);
  m.rilascio_in_coda = o.rilascio_in_coda.value_or(true);
  m.percentuale_massa_frenata =
      massa_frenata_nei_limiti(data(o.percentuale_massa_frenata).value_or(static_cast<double>(treno.valore1)));
  m.decelerazione = data(o.decelerazione).value_or(decelerazione_da_massa_frenata(m.percentuale_massa_frenata));
  m.sosta_s = data(o.sosta_s).value_or(sosta_predefinita_s);
  m.soste = o.soste;
  m.lunghezza_vettura_m = data(o.lunghezza_vettura_m).value_or(lunghezza_vettura_predefinita_m);
  uint8_t massima = 0;
  for (const cella_percorso& c : f.percorso) massima = std::max(massima, c.velocita);
  m.velocita_massima_kmh =
      data(o.velocita_massima_kmh)
          .value_or(std::min(massima > 0 ? massima * 5.0 : velocita_massima_di_ripiego_kmh, r.velocita_massima_kmh));
  m = modello_nei_limiti(m);
  // The starting acceleration given: the tractive effort at low speed is the
  // one that gives it on the level, the adhesion's limit left aside.
  if (data(o.accelerazione)) {
    m.sforzo_trazione_kn = *o.accelerazione * m.massa_t * m.masse_rotanti + m.resistenza_a_kn;
    m.aderenza = 0.0;
  }
  m.margine = o.margine.value_or(margine_predefinito(m.velocita_massima_kmh));
  m.lunghezza_treno_m = std::max(0, m.vetture) * m.lunghezza_vettura_m;
  return modello_nei_limiti(m);
}

profilo_corsa profilo_da_scenario(const scenario& f) {
  profilo_corsa p;
  const std::vector<cella_percorso>& c = f.percorso;
  // A cell's running values hold from its point for 50 m; a gradient code of
  // 0 is no gradient laid, the line taken as level.
  for (std::size_t i = 0; i < c.size();) {
    std::size_t j = i + 1;
    while (j < c.size() && c[j].velocita == c[i].velocita && c[j].pendenza == c[i].pendenza) ++j;
    p.tratti.push_back({metri_cella * static_cast<double>(i), metri_cella * static_cast<double>(j),
                        c[i].velocita * 5.0, c[i].pendenza == 0 ? 0.0 : c[i].pendenza - 100.0});
    i = j;
  }

  // A slow order runs from its start cell's point up to the point of the next
  // end cell of the same speed (both carry it), so that orders that overlap
  // or nest pair rightly. An end with no start open is passed over; a start
  // never closed (its end fell on its own cell, or was overwritten) restricts
  // its own cell, 50 m; either way the run keeps it until the tail clears.
  struct aperto {
    std::size_t cella;
    bool treno_intero;
  };
  std::map<int16_t, std::vector<aperto>> aperti;
  for (std::size_t i = 0; i < c.size(); ++i) {
    if (c[i].tipo == tipo_inizio_rallentamento) {
      aperti[c[i].dato1].push_back({i, c[i].dato3 == 1});
    } else if (c[i].tipo == tipo_fine_rallentamento) {
      const auto a = aperti.find(c[i].dato1);
      if (a == aperti.end() || a->second.empty()) continue;
      const aperto o = a->second.back();
      a->second.pop_back();
      p.rallentamenti.push_back({metri_cella * static_cast<double>(o.cella), metri_cella * static_cast<double>(i),
                                 static_cast<double>(c[i].dato1), o.treno_intero});
    } else if (c[i].tipo == tipo_abbattimento) {
      p.punti.push_back({metri_cella * static_cast<double>(i), static_cast<double>(c[i].dato1)});
    }
  }
  for (const auto& [v, ordini] : aperti)
    for (const aperto& o : ordini)
      p.rallentamenti.push_back({metri_cella * static_cast<double>(o.cella),
                                 metri_cella * static_cast<double>(o.cella + 1), static_cast<double>(v),
                                 o.treno_intero});

  // The line plan's curves: point j stands j metres along, and a stretch's
  // turns are between the point before it and its last point.
  int64_t prima = 1;
  for (const tratto_linea& t : f.griglia_linea.tratti) {
    if (t.curva && t.k != 0 && std::isfinite(t.k) && t.fino > prima)
      p.curve.push_back({static_cast<double>(prima), static_cast<double>(t.fino), 1.0 / std::fabs(t.k)});
    prima = std::max(prima, t.fino);
  }

  for (const stazione_marcia& s : stazioni_del_percorso(f))
    if (s.codice != 0) p.fermate.push_back(s.posizione_m);
  return p;
}

namespace {

// Two names alike but for the case of plain letters.
bool stesso_nome(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    const auto bassa = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; };
    if (bassa(x) != bassa(y)) return false;
  }
  return true;
}

}  // namespace

marcia calcola_marcia(const scenario& f, const modello_treno& modello, std::vector<decisione_sezione>* decisioni) {
  marcia r;
  if (decisioni != nullptr) decisioni->clear();
  r.modello = modello_nei_limiti(modello);
  const modello_treno& m = r.modello;

  std::vector<stazione_marcia> stazioni = stazioni_del_percorso(f);
  // The stops' times, unfolded: the first time that comes back by less than
  // half a day crosses midnight; any other that comes back is told.
  std::vector<std::size_t> fermate;
  double giorni = 0.0, prima = 0.0;
  for (std::size_t k = 0; k < stazioni.size(); ++k) {
    stazione_marcia& s = stazioni[k];
    if (s.codice == 0) continue;
    double ora = s.codice + giorni;
    if (!fermate.empty() && ora < prima) {
      if (ora + giorno_s - prima <= mezza_giornata_s) {
        if (giorni > 0) r.anomalie.push_back({s.slot, anomalia_orario::seconda_mezzanotte});
        giorni += giorno_s;
        ora += giorno_s;
      } else {
        r.anomalie.push_back({s.slot, anomalia_orario::ora_indietro});
      }
    }
    s.ora_s = ora;
    prima = ora;
    fermate.push_back(k);
  }

  // The dwells: the model's, or the one given for the stop; a dwell given for
  // a station where the train does not stand between two sections is told.
  std::vector<double> soste(fermate.size(), m.sosta_s);
  std::vector<bool> usata(m.soste.size(), false);
  for (std::size_t k = 1; k + 1 < fermate.size(); ++k)
    for (std::size_t j = 0; j < m.soste.size(); ++j)
      if (stesso_nome(m.soste[j].nome, stazioni[fermate[k]].nome)) {
        soste[k] = m.soste[j].secondi;
        usata[j] = true;
      }
  for (std::size_t j = 0; j < m.soste.size(); ++j)
    if (!usata[j]) r.soste_ignote.push_back(m.soste[j]);

  for (std::size_t k = 0; k < stazioni.size(); ++k)
    if (fermate.empty() || k < fermate.front() || k > fermate.back()) r.fuori_corsa.push_back(stazioni[k]);
  if (fermate.empty()) return r;

  profilo_corsa p = profilo_da_scenario(f);
  std::vector<decisivi_tratta> decisivi;
  const corsa c = calcola_corsa(p, m, decisioni != nullptr ? &decisivi : nullptr);
  r.senza_limite = c.senza_limite;
  if (c.tratte.empty()) {
    const stazione_marcia& s = stazioni[fermate.front()];
    r.profilo.push_back({static_cast<double>(s.posizione_m), 0.0, s.ora_s});
  }

  for (std::size_t k = 0; k < c.tratte.size(); ++k) {
    const tratta_corsa& t = c.tratte[k];
    sezione s;
    s.da = stazioni[fermate[k]];
    s.a = stazioni[fermate[k + 1]];
    s.distanza_m = t.a_m > t.da_m ? t.a_m - t.da_m : 0.0;
    s.partenza_s = s.da.ora_s;
    const bool ultima = k + 2 == fermate.size();
    s.sosta_s = ultima ? 0.0 : soste[k + 1];
    s.arrivo_derivato = !ultima;
    s.tempo_orario_s = s.a.ora_s - s.sosta_s - s.partenza_s;
    s.tempo_minimo_s = t.tempo_s;
    s.margine_s = s.tempo_orario_s - s.tempo_minimo_s;
    s.margine_percento = s.tempo_minimo_s > 0 ? 100.0 * s.margine_s / s.tempo_minimo_s : 0.0;
    s.mantenibile = s.margine_s >= 0;
    s.recupero_s = s.tempo_minimo_s * m.margine.percento / 100.0 +
                   m.margine.minuti_per_100_km * 60.0 * s.distanza_m / 100000.0;
    s.tempo_con_recupero_s = s.tempo_minimo_s + s.recupero_s;
    s.residuo_s = s.tempo_orario_s - s.tempo_con_recupero_s;
    s.con_recupero = s.residuo_s >= 0 || s.distanza_m == 0;
    // A shorter dwell at the arriving stop leaves the section more time.
    if (!s.mantenibile && !ultima && s.sosta_s + s.margine_s >= 0)
      s.sosta_che_tiene_s = std::floor(s.sosta_s + s.margine_s);
    // The margin is spread over the section in proportion to the fastest run's time.
    const double quota = s.tempo_minimo_s > 0 ? s.tempo_orario_s / s.tempo_minimo_s : 0.0;
    for (std::size_t j = fermate[k] + 1; j < fermate[k + 1]; ++j) {
      const double tempo = tempo_in(t, stazioni[j].posizione_m);
      s.passaggi.push_back({stazioni[j], s.partenza_s + tempo, al_minuto(s.partenza_s + tempo * quota)});
    }
    for (const punto_velocita& q : t.punti)
      r.profilo.push_back({q.posizione_m, q.velocita_kmh, s.partenza_s + q.tempo_s, q.regime, q.inizio_frenatura});
    if (decisioni != nullptr && k < decisivi.size()) {
      decisione_sezione d{decisivi[k].tempo_senza_restrizioni_s, std::move(decisivi[k].restrizioni), std::nullopt};
      if (!s.mantenibile) d.trazione_che_tiene = trazione_necessaria(p, m, k, s.tempo_orario_s);
      decisioni->push_back(std::move(d));
    }
    r.sezioni.push_back(std::move(s));
  }
  return r;
}

std::vector<decisione_sezione> decidi_sezioni(const scenario& f, const marcia& m) {
  std::vector<decisione_sezione> r;
  calcola_marcia(f, m.modello, &r);
  return r;
}
