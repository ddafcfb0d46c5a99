#include "tools/orari.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "analisi/avvisi.h"
#include "formato/numeri.h"
#include "formato/testo_1252.h"
#include "tools/compila.h"
#include "tools/rapporto.h"
#include "tools/scarica.h"

using nlohmann::ordered_json;

namespace {

// `v` with `decimali` decimals, rounded as printf rounds (the exact value,
// half to even): "0.40", "-1.5".
std::string fisso(double v, int decimali) {
  char b[400];
  const auto [fine, ec] = std::to_chars(b, b + sizeof b, v, std::chars_format::fixed, decimali);
  return ec == std::errc() ? std::string(b, fine) : std::string("?");
}

// `v` with at most `decimali` decimals, trailing zeros left out: "0.4", "175", "26.4".
std::string numero(double v, int decimali) {
  if (!std::isfinite(v)) return "?";
  std::string s = fisso(v, decimali);
  if (s.find('.') != std::string::npos) {
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') s.pop_back();
  }
  if (s == "-0") s = "0";
  return s;
}

// A whole number (of seconds, of cars), rounded half to even, held where a long long holds it.
long long intero(double s) {
  if (!std::isfinite(s)) return 0;
  return static_cast<long long>(arrotonda(std::clamp(s, -1e12, 1e12)));
}

// A time of day, "hh:mm:ss" (or "hh:mm"); a time on a later day, after
// midnight was crossed, gets "+DAYS".
std::string ora(double s, bool con_secondi = true) {
  long long t = intero(s);
  std::string r;
  if (t < 0) {
    r = "-";
    t = -t;
  }
  const long long giorni = t / 86400;
  t %= 86400;
  auto due = [&r](long long n) {
    r += static_cast<char>('0' + n / 10);
    r += static_cast<char>('0' + n % 10);
  };
  due(t / 3600);
  r += ':';
  due(t / 60 % 60);
  if (con_secondi) {
    r += ':';
    due(t % 60);
  }
  if (giorni > 0) r += "+" + std::to_string(giorni);
  return r;
}

// `t` padded with spaces to `n` characters, on the left when `destra`.
std::string colonna(const std::string& t, std::size_t n, bool destra = false) {
  const std::size_t largo = caratteri_utf8(t);
  // Filling its column or wider: a space keeps it apart from its neighbour
  // all the same (a right-aligned one has the neighbour on its left).
  if (destra && largo >= n) return " " + t;
  if (largo > n) return t + " ";
  return destra ? std::string(n - largo, ' ') + t : t + std::string(n - largo, ' ');
}

// Seconds with their sign, whole: "+148 s", "-5 s"; a value just below 0 reads "-0 s".
std::string secondi_con_segno(double s) {
  return (s < 0 ? "-" : "+") + std::to_string(std::llabs(intero(s))) + " s";
}

// The margin in seconds and per cent, each right-aligned in its column.
std::string margine(const sezione& s) {
  const double p = std::isfinite(s.margine_percento) ? s.margine_percento : 0.0;
  const std::string b = fisso(p, 1);
  return colonna(secondi_con_segno(s.margine_s), 8, true) + colonna((b[0] == '-' ? b : "+" + b) + " %", 9, true);
}

// Kilometres to a tenth, always with the tenth.
std::string km(double metri) { return fisso(std::isfinite(metri) ? metri / 1000.0 : 0.0, 1); }

// A station's name as the terminal shows it (the sources' single-byte text).
std::string nome(const stazione_marcia& s) { return stampabile_da_1252(s.nome); }

std::string nome_sezione(const sezione& s) { return nome(s.da) + " - " + nome(s.a); }

const char* nome_evento(evento e) {
  switch (e) {
    case evento::partenza: return "departure";
    case evento::passaggio: return "pass";
    case evento::arrivo: return "arrival";
  }
  return "";
}

const char* nome_anomalia(anomalia_orario a) {
  return a == anomalia_orario::ora_indietro ? "time goes back" : "second midnight";
}

const char* nome_regime(regime_corsa r) {
  switch (r) {
    case regime_corsa::trazione: return "traction";
    case regime_corsa::crociera: return "cruise";
    case regime_corsa::frenatura: return "braking";
    case regime_corsa::fermo: return "stop";
  }
  return "";
}

const char* nome_restrizione(tipo_restrizione t) {
  switch (t) {
    case tipo_restrizione::limite_linea: return "line limit";
    case tipo_restrizione::rallentamento: return "slow order";
    case tipo_restrizione::punto: return "speed point";
  }
  return "";
}

// What the verdict on a section is.
const char* verdetto(const sezione& s) {
  return !s.mantenibile ? "cannot be kept" : s.con_recupero ? "kept with margin" : "under the recovery margin";
}

// Seconds, metres and per cents in JSON and CSV: to a thousandth, which is
// far finer than the model is good for, and spares the reader binary noise.
double al_millesimo(double v) { return std::isfinite(v) ? arrotonda(v * 1000.0) / 1000.0 : 0.0; }

// A model's coefficient in JSON: to a millionth (a resistance's C is a thousandth or so).
double al_milionesimo(double v) { return std::isfinite(v) ? arrotonda(v * 1e6) / 1e6 : 0.0; }

// A number in CSV as JSON writes it: the shortest form that reads back to it.
std::string reale_csv(double v) {
  v = al_millesimo(v);
  char b[64];
  const auto [fine, ec] = std::to_chars(b, b + sizeof b, v);
  return ec == std::errc() ? std::string(b, fine) : std::string();
}

// The fields of a row, named once for JSON and CSV, in this order.
constexpr const char* campi_riga[] = {"evento",         "slot",           "nome",           "posizione_m",
                                      "ora_orario_s",   "orario_derivato", "ora_piu_veloce_s", "distanza_m",
                                      "tempo_orario_s", "tempo_minimo_s", "margine_s",      "margine_percento",
                                      "mantenibile"};

// The fields of a point of the profile, for JSON and CSV.
constexpr const char* campi_profilo[] = {"posizione_m", "velocita_kmh", "tempo_s", "regime", "frenatura"};

ordered_json riga_json(const riga_orario& r) {
  ordered_json j;
  const sezione* s = r.fine_di;
  j["evento"] = nome_evento(r.cosa);
  j["slot"] = r.stazione.slot;
  j["nome"] = utf8_da_1252(r.stazione.nome);
  j["posizione_m"] = r.stazione.posizione_m;
  j["ora_orario_s"] = al_millesimo(r.ora_orario_s);
  j["orario_derivato"] = s ? ordered_json(s->arrivo_derivato) : ordered_json(nullptr);
  j["ora_piu_veloce_s"] = r.ora_piu_veloce_s ? ordered_json(al_millesimo(*r.ora_piu_veloce_s)) : ordered_json(nullptr);
  j["distanza_m"] = s ? ordered_json(al_millesimo(s->distanza_m)) : ordered_json(nullptr);
  j["tempo_orario_s"] = s ? ordered_json(al_millesimo(s->tempo_orario_s)) : ordered_json(nullptr);
  j["tempo_minimo_s"] = s ? ordered_json(al_millesimo(s->tempo_minimo_s)) : ordered_json(nullptr);
  j["margine_s"] = s ? ordered_json(al_millesimo(s->margine_s)) : ordered_json(nullptr);
  j["margine_percento"] = s ? ordered_json(al_millesimo(s->margine_percento)) : ordered_json(nullptr);
  j["mantenibile"] = s ? ordered_json(s->mantenibile) : ordered_json(nullptr);
  return j;
}

ordered_json stazione_json(const stazione_marcia& s) {
  ordered_json j;
  j["slot"] = s.slot;
  j["nome"] = utf8_da_1252(s.nome);
  j["posizione_m"] = s.posizione_m;
  return j;
}

bool tutte_con_recupero(const marcia& m) {
  return std::all_of(m.sezioni.begin(), m.sezioni.end(), [](const sezione& s) { return s.con_recupero; });
}

// The traction that keeps a section: the factor, and the power and the tractive effort it means.
struct trazione_scritta {
  double fattore, potenza_kw, sforzo_kn;
};
trazione_scritta trazione(const modello_treno& m, double fattore) {
  // The factor as told, to a thousandth, and what it means.
  const double f = al_millesimo(fattore);
  return {f, m.potenza_kw * f, sforzo_trazione(m, 0.0) * f};
}

// What would keep a section that cannot be kept, in words.
std::string cosa_la_terrebbe(const sezione& s, const decisione_sezione* d, const modello_treno& m) {
  std::string r;
  bool sosta = false;
  if (s.arrivo_derivato && s.sosta_che_tiene_s) {
    r = "a dwell of " + numero(*s.sosta_che_tiene_s, 0) + " s or less at " + nome(s.a) + " would keep it";
    sosta = true;
  } else if (s.arrivo_derivato) {
    r = "not even a dwell of 0 s at " + nome(s.a) + " would keep it";
  }
  if (d == nullptr) return r;
  if (!r.empty()) r += "; ";
  if (d->trazione_che_tiene) {
    const trazione_scritta t = trazione(m, *d->trazione_che_tiene);
    r += (sosta ? "so would " : "") + numero(t.fattore, 3) + " times the traction" + (sosta ? "" : " would") + " (" +
         numero(t.potenza_kw, 0) + " kW, " + numero(t.sforzo_kn, 0) + " kN at low speed)";
  } else {
    r += "no traction up to " + numero(fattore_trazione_massimo, 0) +
         " times the train's would: the limits and the braking alone take longer";
  }
  return r;
}

}  // namespace

std::vector<valore_usato> valori_usati(const scenario& f, const opzioni_marcia& o, const modello_treno& m) {
  auto data = [](const std::optional<double>& v) { return v && !std::isnan(*v); };
  const dati_riferimento& rif = dati_di(m.riferimento);
  const bool unita = m.riferimento == treno_riferimento::elettrotreno;
  const int32_t vetture = std::max(unita ? 1 : 0, std::min(m.vetture, 1000));
  const std::string n = std::to_string(vetture);
  uint8_t massima = 0;
  for (const cella_percorso& c : f.percorso) massima = std::max(massima, c.velocita);
  const bool accelerazione = data(o.accelerazione);
  std::vector<valore_usato> v;
  auto opzione = [](const char* nome) { return std::string("option ") + nome; };
  auto aggiungi = [&v](std::string_view chiave, std::string_view nome, double valore, std::string_view unita,
                       std::string_view origine, std::string nota, std::string testo = "", int decimali = 1) {
    v.push_back({chiave, nome, valore, unita, origine, std::move(nota), std::move(testo), decimali});
  };

  aggiungi("riferimento", "reference train", 0, "", o.riferimento ? "option" : "derived",
               o.riferimento ? opzione("--reference-train")
                             : "the train source's " + std::to_string(m.vetture) + " cars and " +
                                   std::to_string(m.percentuale_letta) + " % braked mass: " + rif.descrizione,
               rif.nome);
  aggiungi("massa_t", "train mass", m.massa_t, "t", data(o.massa_t) ? "option" : "reference train",
               data(o.massa_t) ? opzione("--train-mass")
               : unita         ? n + " cars of " + numero(rif.massa_vettura_t, 1) + " t, loaded"
                               : "a locomotive of " + numero(rif.massa_locomotiva_t, 1) + " t and " + n +
                                     " coaches of " + numero(rif.massa_vettura_t, 1) + " t, loaded");
  aggiungi("massa_aderente_t", "adhesive mass", m.massa_aderente_t, "t",
               data(o.massa_aderente_t) ? "option" : "reference train",
               data(o.massa_aderente_t) ? opzione("--adhesive-mass")
               : unita                  ? numero(rif.quota_aderente * 100, 0) + " % of the train's mass"
                                        : "the locomotive's");
  aggiungi("potenza_kw", "power", m.potenza_kw, "kW", data(o.potenza_kw) ? "option" : "reference train",
               data(o.potenza_kw) ? opzione("--power")
               : unita            ? numero(rif.potenza_vettura_kw, 0) + " kW a car, at the wheel rim"
                                  : "the locomotive's, at the wheel rim");
  if (accelerazione) {
    aggiungi("sforzo_trazione_kn", "tractive effort", m.sforzo_trazione_kn, "kN", "derived",
                 "for --acceleration: mass x rotating masses x acceleration + A");
    aggiungi("aderenza", "adhesion", 0.0, "", "derived", "not applied: --acceleration given", "", 3);
  } else {
    aggiungi("sforzo_trazione_kn", "tractive effort", m.sforzo_trazione_kn, "kN",
                 data(o.sforzo_trazione_kn) ? "option" : "reference train",
                 data(o.sforzo_trazione_kn) ? opzione("--tractive-effort")
                 : unita                    ? numero(rif.sforzo_vettura_kn, 0) + " kN a car, the drive's at low speed"
                                            : "the locomotive's drive, at low speed");
    aggiungi("aderenza", "adhesion", m.aderenza, "", data(o.aderenza) ? "option" : "default",
                 data(o.aderenza) ? opzione("--adhesion")
                                  : "a third of the adhesive weight (Curtius and Kniffler at standstill)",
                 "", 3);
  }
  const double avvio = sforzo_trazione(m, 0.0);
  aggiungi("sforzo_avviamento_kn", "starting effort", avvio, "kN", "derived",
               accelerazione || m.aderenza <= 0 || avvio >= m.sforzo_trazione_kn ? "the tractive effort"
                                                                                 : "within the adhesion");
  aggiungi("accelerazione", "starting accel.", accelerazione ? *o.accelerazione : accelerazione_in_piano(m, 0.0),
               "m/s2", accelerazione ? "option" : "derived",
               accelerazione ? opzione("--acceleration") : "at standstill on the level, after the resistance", "", 3);
  const double potenza_da = m.potenza_kw / avvio * 3.6;
  aggiungi("potenza_da_kmh", "power limits from", potenza_da, "km/h", "derived",
               potenza_da < m.velocita_massima_kmh ? "above it the power limits the tractive effort"
                                                   : "above the top speed: the power never limits");
  aggiungi("masse_rotanti", "rotating masses", m.masse_rotanti, "", data(o.masse_rotanti) ? "option" : "reference train",
               data(o.masse_rotanti) ? opzione("--rotating-mass") : "the train's inertia over its mass", "", 3);
  const bool resistenza = data(o.resistenza_a_kn);
  const std::string sauthoff = "Sauthoff's formula for " + numero(m.massa_t, 1) + " t and " + n +
                               (unita ? " cars" : " coaches");
  aggiungi("resistenza_a_kn", "resistance A", m.resistenza_a_kn, "kN", resistenza ? "option" : "derived",
               resistenza ? opzione("--resistance") : sauthoff, "", 3);
  aggiungi("resistenza_b_kn", "resistance B", m.resistenza_b_kn, "kN/(km/h)", resistenza ? "option" : "derived",
               resistenza ? opzione("--resistance") : sauthoff, "", 5);
  aggiungi("resistenza_c_kn", "resistance C", m.resistenza_c_kn, "kN/(km/h)2", resistenza ? "option" : "derived",
               resistenza ? opzione("--resistance") : sauthoff, "", 7);
  aggiungi("resistenza_curve", "curve resist.", m.resistenza_curve, "",
               data(o.resistenza_curve) ? "option" : "default",
               data(o.resistenza_curve) ? opzione("--curve-resistance") : "Röckl: K / (R - 55) per mille", "", 0);
  if (data(o.decelerazione)) {
    aggiungi("decelerazione", "braking", m.decelerazione, "m/s2", "option", opzione("--braking"), "", 3);
  } else {
    aggiungi("decelerazione", "braking", m.decelerazione, "m/s2", "derived",
                 "from the braked mass, " + numero(m.percentuale_massa_frenata, 1) + " %", "", 3);
    std::string nota = opzione("--braked-mass");
    if (!data(o.percentuale_massa_frenata)) {
      nota = "train source";
      if (m.percentuale_letta == 0)
        nota = "the train source gives none: counts as " + numero(m.percentuale_massa_frenata, 1) + " %";
      else if (m.percentuale_letta != m.percentuale_massa_frenata)
        nota = "the train source's " + std::to_string(m.percentuale_letta) + " % brought within " +
               numero(massa_frenata_minima, 0) + " to " + numero(massa_frenata_massima, 0) + " %";
    }
    aggiungi("percentuale_massa_frenata", "braked mass", m.percentuale_massa_frenata, "%",
                 data(o.percentuale_massa_frenata) ? "option" : "train source", nota);
  }
  if (data(o.velocita_massima_kmh))
    aggiungi("velocita_massima_kmh", "top speed", m.velocita_massima_kmh, "km/h", "option", opzione("--top-speed"));
  else if (massima > 0 && massima * 5.0 <= rif.velocita_massima_kmh)
    aggiungi("velocita_massima_kmh", "top speed", m.velocita_massima_kmh, "km/h", "route",
                 "the route's highest line limit");
  else if (massima > 0)
    aggiungi("velocita_massima_kmh", "top speed", m.velocita_massima_kmh, "km/h", "reference train",
                 "the reference train's; the route allows " + numero(massima * 5.0, 0) + " km/h");
  else
    aggiungi("velocita_massima_kmh", "top speed", m.velocita_massima_kmh, "km/h", "default",
                 "default: no line limit laid on the route");
  aggiungi("sosta_s", "dwell", m.sosta_s, "s", data(o.sosta_s) ? "option" : "default",
               data(o.sosta_s) ? opzione("--dwell") : "default");
  aggiungi("vetture", "cars", static_cast<double>(m.vetture), "", "train source", "train source", "", 0);
  aggiungi("lunghezza_vettura_m", "car length", m.lunghezza_vettura_m, "m",
               data(o.lunghezza_vettura_m) ? "option" : "default",
               data(o.lunghezza_vettura_m) ? opzione("--car-length") : "default");
  aggiungi("lunghezza_treno_m", "train length", m.lunghezza_treno_m, "m", "derived", "cars times car length");
  aggiungi("rilascio", "limits let go", 0, "", o.rilascio_in_coda ? "option" : "default",
               o.rilascio_in_coda ? opzione("--release")
               : m.rilascio_in_coda ? "a lower limit holds until the train's tail has cleared it"
                                    : "",
               m.rilascio_in_coda ? "tail" : "head");
  aggiungi("margine", "recovery margin", 0, "", o.margine ? "option" : "default",
               o.margine ? "option --margin (or --min-margin)"
                         : "UIC 451-1 for passenger trains, by the top speed: " +
                               numero(m.velocita_massima_kmh, 0) + " km/h",
               testo_margine(m.margine));
  return v;
}

std::vector<riga_orario> righe_orario(const marcia& m) {
  std::vector<riga_orario> r;
  for (std::size_t k = 0; k < m.sezioni.size(); ++k) {
    const sezione& s = m.sezioni[k];
    r.push_back({evento::partenza, s.da, s.partenza_s, std::nullopt, nullptr});
    for (const passaggio& p : s.passaggi)
      r.push_back({evento::passaggio, p.stazione, p.ora_orario_s, p.ora_piu_veloce_s, nullptr});
    r.push_back({evento::arrivo, s.a, s.partenza_s + s.tempo_orario_s, s.partenza_s + s.tempo_minimo_s, &s});
  }
  return r;
}

namespace {

// A station outside the run, by its name; a slot with none that no station
// row filled was begun by a row an error refused.
std::string nome_fuori_corsa(const stazione_marcia& s, const registro* reg) {
  if (!s.nome.empty()) return nome(s);
  if (reg != nullptr && !reg->errori.empty() && riga_della_stazione(*reg, s.slot) == nullptr)
    return "a station an error left half read";
  return "a station with no name";
}

}  // namespace

void scrivi_orario_testo(const scenario& f, const opzioni_marcia& o, const marcia& m,
                         const std::vector<decisione_sezione>& d, std::ostream& out, const registro* reg) {
  out << "Scenario " << f.nome_scenario << ", train " << f.numero_treno
      << ": the fastest run against the timetable\n\nValues used\n";
  for (const valore_usato& v : valori_usati(f, o, m.modello)) {
    // A number right-aligned before its unit; a word across both.
    const std::string valore = v.testo.empty()
                                   ? colonna(numero(v.valore, v.decimali), 12, true) + ' ' + colonna(std::string(v.unita), 11)
                                   : colonna(v.testo, 24);
    out << "  " << colonna(std::string(v.nome), 18) << valore << ' ' << v.nota << '\n';
  }
  for (const sosta_fermata& s : m.modello.soste)
    out << "  " << colonna("dwell at " + stampabile_da_1252(s.nome), 18) << colonna(numero(s.secondi, 1), 12, true)
        << ' ' << colonna("s", 11) << " option --dwell-at\n";

  // After an error the train source was read no further: what it left unlaid
  // (stops, limits) is the error's doing, not something to mend on its own.
  const bool dopo_errori = reg != nullptr && (!reg->errori.empty() || reg->codice_errore != 0);
  const std::vector<riga_orario> righe = righe_orario(m);
  if (m.sezioni.empty()) {
    out << "\nNo section to time: the timetable has fewer than two stops (stations with a time)"
        << (dopo_errori ? "; the errors stopped the reading of the train source, mend them first.\n" : ".\n");
  } else {
    std::size_t largo_nome = 7;
    for (const riga_orario& r : righe)
      largo_nome = std::max(largo_nome, caratteri_utf8(nome(r.stazione)) + (r.cosa == evento::passaggio ? 2 : 0));
    out << "\n" << colonna("km", 7, true) << "  " << colonna("station", largo_nome) << "  "
        << colonna("", 9) << colonna("scheduled", 11, true) << colonna("fastest", 12, true)
        << colonna("margin", 11, true) << '\n';
    bool derivati = false;
    for (std::size_t i = 0; i < righe.size(); ++i) {
      const riga_orario& r = righe[i];
      // A stop's departure right after its arrival goes under it, without its name again.
      const bool sotto = r.cosa == evento::partenza && i > 0 && righe[i - 1].cosa == evento::arrivo;
      // An arrival the timetable does not give, worked out from the next departure, is marked.
      const bool derivato = r.fine_di != nullptr && r.fine_di->arrivo_derivato;
      derivati = derivati || derivato;
      std::string riga = sotto ? std::string(7, ' ') : colonna(km(r.stazione.posizione_m), 7, true);
      riga += "  ";
      riga += colonna(sotto ? "" : (r.cosa == evento::passaggio ? "  " : "") + nome(r.stazione), largo_nome);
      riga += "  " + colonna(nome_evento(r.cosa), 9);
      riga += colonna(ora(r.ora_orario_s, r.cosa != evento::passaggio), 11, true) + (derivato ? "*" : " ");
      riga += colonna(r.ora_piu_veloce_s ? ora(*r.ora_piu_veloce_s) : "", 11, true);
      if (r.fine_di) riga += "  " + margine(*r.fine_di) + (r.fine_di->mantenibile ? "" : "  CANNOT BE KEPT");
      riga.erase(riga.find_last_not_of(' ') + 1);
      out << riga << '\n';
    }
    if (derivati)
      out << "  * the next departure less the dwell: the timetable gives each stop's departure only\n";

    std::size_t largo = 7;
    for (const sezione& s : m.sezioni) largo = std::max(largo, caratteri_utf8(nome_sezione(s)));
    out << "\n" << colonna("Sections", largo + 2) << colonna("km", 8, true) << colonna("scheduled", 11, true)
        << colonna("fastest", 10, true) << colonna("recovery", 10, true) << colonna("needed", 9, true)
        << colonna("left", 9, true) << colonna("margin", 10, true) << '\n';
    std::vector<std::string> tenute, scarse;
    for (const sezione& s : m.sezioni) {
      out << "  " << colonna(nome_sezione(s), largo) << colonna(km(s.distanza_m), 8, true)
          << colonna(durata(s.tempo_orario_s), 11, true) << colonna(durata(s.tempo_minimo_s), 10, true)
          << colonna(durata(s.recupero_s), 10, true) << colonna(durata(s.tempo_con_recupero_s), 9, true)
          << colonna(secondi_con_segno(s.residuo_s), 9, true) << ' ' << margine(s)
          << (!s.mantenibile ? "  CANNOT BE KEPT" : s.con_recupero ? "" : "  UNDER THE RECOVERY MARGIN") << '\n';
      if (!s.mantenibile) tenute.push_back(nome_sezione(s));
      else if (!s.con_recupero) scarse.push_back(nome_sezione(s));
    }
    out << '\n';
    auto elenco = [&](const std::vector<std::string>& v) {
      out << v.size() << " of " << m.sezioni.size() << (m.sezioni.size() == 1 ? " section" : " sections");
      return [&out, &v] {
        for (std::size_t i = 0; i < v.size(); ++i) out << (i ? ", " : "") << v[i];
        out << ".\n";
      };
    };
    const std::string recupero = testo_margine(m.modello.margine);
    if (tenute.empty() && scarse.empty()) {
      if (recupero == "none") out << "Every section can be kept.\n";
      else out << "Every section can be kept with its recovery margin (" << recupero << ").\n";
    } else {
      if (!tenute.empty()) {
        const auto fine = elenco(tenute);
        out << " cannot be kept, even by the fastest run: ";
        fine();
      }
      if (!scarse.empty()) {
        const auto fine = elenco(scarse);
        out << " can be kept only without the recovery margin (" << recupero << "): ";
        fine();
      }
    }

    if (!d.empty()) {
      out << "\nWhat decides each section (a restriction's cost: what lifting it alone would gain)\n";
      for (std::size_t k = 0; k < m.sezioni.size() && k < d.size(); ++k) {
        const sezione& s = m.sezioni[k];
        out << "  " << nome_sezione(s) << ": fastest " << durata(s.tempo_minimo_s) << ", "
            << durata(d[k].tempo_senza_restrizioni_s) << " with no restriction\n";
        for (std::size_t i = 0; i < d[k].restrizioni.size(); ++i) {
          const costo_restrizione& c = d[k].restrizioni[i];
          const std::string dove = c.tipo == tipo_restrizione::punto
                                       ? "at " + km(c.inizio_m) + " km"
                                       : km(c.inizio_m) + " - " + km(c.fine_m) + " km";
          const std::string costo = "+" + fisso(c.costo_s, 1) + " s";
          std::string riga = "    " + colonna(nome_restrizione(c.tipo), 12) +
                             colonna(numero(c.velocita_kmh, 1) + " km/h", 10, true) + "  " + colonna(dove, 22) +
                             colonna(costo, 10, true) + (i == 0 ? "  binding" : "");
          out << riga << '\n';
        }
        if (!s.mantenibile) out << "    cannot be kept: " << cosa_la_terrebbe(s, &d[k], m.modello) << ".\n";
      }
    }
  }

  for (const intervallo& i : m.senza_limite)
    out << "No line speed limit laid from " << km(i.inizio_m) << " to " << km(i.fine_m) << " km: "
        << (dopo_errori ? "the errors stopped the reading of the train source before its limits reached "
                          "there; mend them first (the run takes the top speed there).\n"
                        : "run at the top speed there.\n");
  for (const anomalia_fermata& a : m.anomalie) {
    std::string di;
    for (const sezione& s : m.sezioni)
      if (s.a.slot == a.slot) di = nome(s.a);
    out << "The time of " << di << " (slot " << a.slot << ") "
        << (a.tipo == anomalia_orario::ora_indietro
                ? "comes before the stop's before it: taken as it is, its section's scheduled time is negative.\n"
                : "crosses midnight a second time: taken as the day after.\n");
  }
  // A stop due at the very time of the stop before it: no anomaly of the
  // clock, but its section has no time to run in once the dwell is taken.
  for (const sezione& s : m.sezioni) {
    const bool detta = std::any_of(m.anomalie.begin(), m.anomalie.end(),
                                   [&s](const anomalia_fermata& a) { return a.slot == s.a.slot; });
    if (detta || s.distanza_m <= 0 || s.tempo_orario_s > 0) continue;
    const double dopo_s = s.a.ora_s - s.da.ora_s;
    out << nome_sezione(s) << ": the timetable leaves no time to run (scheduled " << durata(s.tempo_orario_s)
        << "): " << nome(s.a) << "'s time " << ora(s.a.ora_s)
        << (dopo_s == 0 ? " is " + nome(s.da) + "'s own" : " is only " + durata(dopo_s) + " after " + nome(s.da) + "'s")
        << (s.arrivo_derivato ? ", and its arrival is taken as that time less the dwell (" + durata(s.sosta_s) + ")"
                              : "")
        << ".\n";
  }
  if (!m.fuori_corsa.empty()) {
    out << "Outside the run (before the first stop or after the last): ";
    for (std::size_t i = 0; i < m.fuori_corsa.size(); ++i)
      out << (i ? ", " : "") << nome_fuori_corsa(m.fuori_corsa[i], reg) << " (slot " << m.fuori_corsa[i].slot
          << ")";
    out << ".\n";
  }
}

void scrivi_orario_csv(const marcia& m, std::ostream& out) {
  std::string riga;
  for (const char* c : campi_riga) riga += (riga.empty() ? "" : ",") + std::string(c);
  out << riga << '\n';
  auto booleano = [](bool b) { return b ? "true" : "false"; };
  for (const riga_orario& r : righe_orario(m)) {
    const sezione* s = r.fine_di;
    auto della_sezione = [&](double sezione::*campo) { return s ? reale_csv(s->*campo) : std::string(); };
    riga = nome_evento(r.cosa);
    riga += ',' + std::to_string(r.stazione.slot) + ',' + campo_csv(utf8_da_1252(r.stazione.nome)) + ',' +
            std::to_string(r.stazione.posizione_m) + ',' + reale_csv(r.ora_orario_s) + ',' +
            (s ? booleano(s->arrivo_derivato) : "") + ',' +
            (r.ora_piu_veloce_s ? reale_csv(*r.ora_piu_veloce_s) : "") + ',' + della_sezione(&sezione::distanza_m) +
            ',' + della_sezione(&sezione::tempo_orario_s) + ',' + della_sezione(&sezione::tempo_minimo_s) + ',' +
            della_sezione(&sezione::margine_s) + ',' + della_sezione(&sezione::margine_percento) + ',' +
            (s ? booleano(s->mantenibile) : "");
    out << riga << '\n';
  }
}

void scrivi_profilo_csv(const marcia& m, std::ostream& out) {
  std::string riga;
  for (const char* c : campi_profilo) riga += (riga.empty() ? "" : ",") + std::string(c);
  out << riga << '\n';
  for (const punto_marcia& p : m.profilo)
    out << reale_csv(p.posizione_m) << ',' << reale_csv(p.velocita_kmh) << ',' << reale_csv(p.ora_s) << ','
        << nome_regime(p.regime) << ',' << (p.inizio_frenatura ? "true" : "false") << '\n';
}

namespace {

// What stands for the profile in the object that `scrivi_orario_json` dumps.
constexpr const char* segnaposto_profilo = "\x01profilo\x01";

// A number to a thousandth as the JSON library writes a double: the shortest
// form that reads back to it, which for a number of thousandths is their
// decimals with the zeros after them left out, and ".0" after a whole number.
void numero_json(std::string& s, double v) {
  if (!(std::fabs(v) < 1e12)) {
    char b[64];
    const auto [fine, ec] = std::to_chars(b, b + sizeof b, v);
    const std::string_view t(b, ec == std::errc() ? static_cast<std::size_t>(fine - b) : 0);
    s += t;
    if (t.find_first_of(".e") == std::string_view::npos) s += ".0";
    return;
  }
  const long long millesimi = std::llround(std::fabs(v) * 1000.0);
  if (std::signbit(v)) s += '-';
  s += std::to_string(millesimi / 1000);
  s += '.';
  long long resto = millesimi % 1000;
  if (resto == 0) {
    s += '0';
    return;
  }
  for (long long cifra = 100; resto != 0; cifra /= 10) {
    s += static_cast<char>('0' + resto / cifra);
    resto %= cifra;
  }
}

// The profile as `dump(2)` writes it under a key of the top level, a few
// points at a time.
void scrivi_profilo_json(const marcia& m, std::ostream& out) {
  if (m.profilo.empty()) {
    out << "[]";
    return;
  }
  std::string s = "[\n";
  for (std::size_t i = 0; i < m.profilo.size(); ++i) {
    if (s.size() > 8000) {
      out << s;
      s.clear();
    }
    const punto_marcia& p = m.profilo[i];
    s += "    {\n      \"posizione_m\": ";
    numero_json(s, al_millesimo(p.posizione_m));
    s += ",\n      \"velocita_kmh\": ";
    numero_json(s, al_millesimo(p.velocita_kmh));
    s += ",\n      \"tempo_s\": ";
    numero_json(s, al_millesimo(p.ora_s));
    s += ",\n      \"regime\": \"";
    s += nome_regime(p.regime);
    s += "\",\n      \"frenatura\": ";
    s += p.inizio_frenatura ? "true" : "false";
    s += i + 1 < m.profilo.size() ? "\n    },\n" : "\n    }\n";
  }
  s += "  ]";
  out << s;
}

ordered_json orario_json_con(const esito_comando& e, const opzioni_marcia& o, const marcia* m,
                             const std::vector<decisione_sezione>& d, bool segnaposto) {
  const scenario& f = e.c.scenario;
  ordered_json j = esito_json(e);
  j.erase("files");
  j["scenario"] = utf8_da_1252(f.nome_scenario);
  j["treno"] = utf8_da_1252(f.numero_treno);
  const modello_treno modello = m ? m->modello : modello_da_scenario(f, o);
  ordered_json valori = ordered_json::object();
  for (const valore_usato& v : valori_usati(f, o, modello)) {
    ordered_json voce;
    // A word stays a word, a count a whole number.
    voce["valore"] = !v.testo.empty()                   ? ordered_json(v.testo)
                     : v.unita.empty() && v.decimali == 0 ? ordered_json(intero(v.valore))
                                                          : ordered_json(al_milionesimo(v.valore));
    voce["unita"] = v.unita;
    voce["origine"] = v.origine;
    voce["nota"] = v.nota;
    valori[std::string(v.chiave)] = std::move(voce);
  }
  ordered_json soste = ordered_json::array();
  for (const sosta_fermata& s : modello.soste)
    soste.push_back({{"nome", utf8_da_1252(s.nome)}, {"sosta_s", al_millesimo(s.secondi)}});
  valori["soste"] = std::move(soste);
  valori["margine"]["percento"] = al_milionesimo(modello.margine.percento);
  valori["margine"]["minuti_per_100_km"] = al_milionesimo(modello.margine.minuti_per_100_km);
  j["modello"] = std::move(valori);
  ordered_json righe = ordered_json::array(), sezioni = ordered_json::array(), profilo = ordered_json::array(),
               senza = ordered_json::array(), anomalie = ordered_json::array(), fuori = ordered_json::array();
  if (m) {
    for (const riga_orario& r : righe_orario(*m)) righe.push_back(riga_json(r));
    for (std::size_t k = 0; k < m->sezioni.size(); ++k) {
      const sezione& s = m->sezioni[k];
      ordered_json v;
      v["da"] = stazione_json(s.da);
      v["a"] = stazione_json(s.a);
      v["distanza_m"] = al_millesimo(s.distanza_m);
      v["partenza_s"] = al_millesimo(s.partenza_s);
      v["sosta_s"] = al_millesimo(s.sosta_s);
      v["arrivo_derivato"] = s.arrivo_derivato;
      v["tempo_orario_s"] = al_millesimo(s.tempo_orario_s);
      v["tempo_minimo_s"] = al_millesimo(s.tempo_minimo_s);
      v["margine_s"] = al_millesimo(s.margine_s);
      v["margine_percento"] = al_millesimo(s.margine_percento);
      v["mantenibile"] = s.mantenibile;
      v["recupero_s"] = al_millesimo(s.recupero_s);
      v["tempo_con_recupero_s"] = al_millesimo(s.tempo_con_recupero_s);
      v["residuo_s"] = al_millesimo(s.residuo_s);
      v["con_recupero"] = s.con_recupero;
      v["verdetto"] = verdetto(s);
      v["sosta_che_tiene_s"] = s.sosta_che_tiene_s ? ordered_json(*s.sosta_che_tiene_s) : ordered_json(nullptr);
      if (k < d.size()) {
        ordered_json x;
        x["tempo_senza_restrizioni_s"] = al_millesimo(d[k].tempo_senza_restrizioni_s);
        ordered_json restrizioni = ordered_json::array();
        for (const costo_restrizione& c : d[k].restrizioni) {
          ordered_json r;
          r["tipo"] = nome_restrizione(c.tipo);
          r["inizio_m"] = al_millesimo(c.inizio_m);
          r["fine_m"] = al_millesimo(c.fine_m);
          r["velocita_kmh"] = al_millesimo(c.velocita_kmh);
          r["costo_s"] = al_millesimo(c.costo_s);
          restrizioni.push_back(std::move(r));
        }
        x["restrizioni"] = std::move(restrizioni);
        x["vincolante"] = d[k].restrizioni.empty() ? ordered_json(nullptr) : ordered_json(0);
        if (d[k].trazione_che_tiene) {
          const trazione_scritta t = trazione(m->modello, *d[k].trazione_che_tiene);
          x["trazione_che_tiene"] = {{"fattore", al_millesimo(t.fattore)},
                                     {"potenza_kw", al_millesimo(t.potenza_kw)},
                                     {"sforzo_avviamento_kn", al_millesimo(t.sforzo_kn)}};
        } else {
          x["trazione_che_tiene"] = nullptr;
        }
        v["decisione"] = std::move(x);
      }
      sezioni.push_back(std::move(v));
    }
    for (const punto_marcia& p : m->profilo) {
      if (segnaposto) break;
      ordered_json v;
      v["posizione_m"] = al_millesimo(p.posizione_m);
      v["velocita_kmh"] = al_millesimo(p.velocita_kmh);
      v["tempo_s"] = al_millesimo(p.ora_s);
      v["regime"] = nome_regime(p.regime);
      v["frenatura"] = p.inizio_frenatura;
      profilo.push_back(std::move(v));
    }
    for (const intervallo& i : m->senza_limite) senza.push_back({{"inizio_m", al_millesimo(i.inizio_m)}, {"fine_m", al_millesimo(i.fine_m)}});
    for (const anomalia_fermata& a : m->anomalie) {
      ordered_json v;
      v["slot"] = a.slot;
      v["tipo"] = nome_anomalia(a.tipo);
      anomalie.push_back(std::move(v));
    }
    for (const stazione_marcia& s : m->fuori_corsa) fuori.push_back(stazione_json(s));
  }
  j["righe"] = std::move(righe);
  j["sezioni"] = std::move(sezioni);
  j["profilo"] = segnaposto ? ordered_json(segnaposto_profilo) : std::move(profilo);
  j["senza_limite"] = std::move(senza);
  j["anomalie"] = std::move(anomalie);
  j["fuori_corsa"] = std::move(fuori);
  j["mantenibile"] = m ? ordered_json(tutte_mantenibili(*m)) : ordered_json(nullptr);
  j["con_recupero"] = m ? ordered_json(tutte_con_recupero(*m)) : ordered_json(nullptr);
  return j;
}

}  // namespace

ordered_json orario_json(const esito_comando& e, const opzioni_marcia& o, const marcia* m,
                         const std::vector<decisione_sezione>& d) {
  return orario_json_con(e, o, m, d, false);
}

void scrivi_orario_json(const esito_comando& e, const opzioni_marcia& o, const marcia* m,
                        const std::vector<decisione_sezione>& d, std::ostream& out) {
  // A thousand points built and dumped by the library take longer than the
  // rest of the command: the profile is written as the library writes it, in
  // the place of a mark. The mark stands after a line's start and two spaces,
  // where only a key of the top level can: never inside a string.
  const std::string testo = orario_json_con(e, o, m, d, true).dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
  const std::string segno = std::string("\n  \"profilo\": ") + ordered_json(segnaposto_profilo).dump();
  const std::size_t dove = testo.find(segno);
  if (dove == std::string::npos) {
    out << testo;
    return;
  }
  out.write(testo.data(), static_cast<std::streamsize>(dove));
  out << "\n  \"profilo\": ";
  if (m != nullptr) scrivi_profilo_json(*m, out);
  else out << "[]";
  out.write(testo.data() + dove + segno.size(), static_cast<std::streamsize>(testo.size() - dove - segno.size()));
}

bool tutte_mantenibili(const marcia& m) {
  return std::all_of(m.sezioni.begin(), m.sezioni.end(), [](const sezione& s) { return s.mantenibile; });
}
