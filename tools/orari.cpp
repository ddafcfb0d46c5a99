#include "tools/orari.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "formato/numeri.h"
#include "formato/testo_1252.h"
#include "tools/compila.h"
#include "tools/rapporto.h"
#include "tools/scarica.h"

using nlohmann::ordered_json;

namespace {

// `v` with at most `decimali` decimals, trailing zeros left out: "0.4", "175", "26.4".
std::string numero(double v, int decimali) {
  if (!std::isfinite(v)) return "?";
  char b[64];
  std::snprintf(b, sizeof b, "%.*f", decimali, v);
  std::string s = b;
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
  char b[32];
  if (con_secondi) std::snprintf(b, sizeof b, "%02lld:%02lld:%02lld", t / 3600, t / 60 % 60, t % 60);
  else std::snprintf(b, sizeof b, "%02lld:%02lld", t / 3600, t / 60 % 60);
  r += b;
  if (giorni > 0) r += "+" + std::to_string(giorni);
  return r;
}

// `t` padded with spaces to `n` characters, on the left when `destra`.
std::string colonna(const std::string& t, std::size_t n, bool destra = false) {
  const std::size_t largo = caratteri_utf8(t);
  if (largo >= n) return t;
  return destra ? std::string(n - largo, ' ') + t : t + std::string(n - largo, ' ');
}


// The margin in seconds and per cent, each right-aligned in its column.
std::string margine(const sezione& s) {
  char b[64];
  std::snprintf(b, sizeof b, "%+.1f %%", std::isfinite(s.margine_percento) ? s.margine_percento : 0.0);
  // The sign is the margin's own: a margin just below 0 reads "-0 s", as it cannot be kept.
  const std::string secondi = (s.margine_s < 0 ? "-" : "+") + std::to_string(std::llabs(intero(s.margine_s)));
  return colonna(secondi + " s", 8, true) + colonna(b, 9, true);
}

// Kilometres to a tenth, always with the tenth.
std::string km(double metri) {
  char b[64];
  std::snprintf(b, sizeof b, "%.1f", std::isfinite(metri) ? metri / 1000.0 : 0.0);
  return b;
}

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

// Seconds, metres and per cents in JSON and CSV: to a thousandth, which is
// far finer than the model is good for, and spares the reader binary noise.
double al_millesimo(double v) { return std::isfinite(v) ? arrotonda(v * 1000.0) / 1000.0 : 0.0; }

// A number in CSV as JSON writes it: the shortest form that reads back to it.
std::string reale_csv(double v) {
  v = al_millesimo(v);
  char b[64];
  const auto [fine, ec] = std::to_chars(b, b + sizeof b, v);
  return ec == std::errc() ? std::string(b, fine) : std::string();
}

// The fields of a row, named once for JSON and CSV, in this order.
constexpr const char* campi_riga[] = {"evento",         "slot",           "nome",           "posizione_m",
                                      "ora_orario_s",   "ora_piu_veloce_s", "distanza_m",   "tempo_orario_s",
                                      "tempo_minimo_s", "margine_s",      "margine_percento", "mantenibile"};

ordered_json riga_json(const riga_orario& r) {
  ordered_json j;
  j["evento"] = nome_evento(r.cosa);
  j["slot"] = r.stazione.slot;
  j["nome"] = utf8_da_1252(r.stazione.nome);
  j["posizione_m"] = r.stazione.posizione_m;
  j["ora_orario_s"] = al_millesimo(r.ora_orario_s);
  j["ora_piu_veloce_s"] = r.ora_piu_veloce_s ? ordered_json(al_millesimo(*r.ora_piu_veloce_s)) : ordered_json(nullptr);
  const sezione* s = r.fine_di;
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

}  // namespace

bool tutte_mantenibili(const marcia& m) {
  return std::all_of(m.sezioni.begin(), m.sezioni.end(), [](const sezione& s) { return s.mantenibile; });
}

std::vector<valore_usato> valori_usati(const scenario& f, const opzioni_marcia& o, const modello_treno& m) {
  auto data = [](const std::optional<double>& v) { return v && !std::isnan(*v); };
  uint8_t massima = 0;
  for (const cella_percorso& c : f.percorso) massima = std::max(massima, c.velocita);
  std::vector<valore_usato> v;
  v.push_back({"accelerazione", "acceleration", m.accelerazione, "m/s2", data(o.accelerazione) ? "option" : "default",
               data(o.accelerazione) ? "option --acceleration" : "default"});
  if (data(o.decelerazione)) {
    v.push_back({"decelerazione", "braking", m.decelerazione, "m/s2", "option", "option --braking"});
  } else {
    v.push_back({"decelerazione", "braking", m.decelerazione, "m/s2", "derived",
                 "from the braked mass, " + numero(m.percentuale_massa_frenata, 1) + " %"});
    std::string nota = "option --braked-mass";
    if (!data(o.percentuale_massa_frenata)) {
      nota = "train source";
      if (m.percentuale_letta == 0)
        nota = "the train source gives none: counts as " + numero(m.percentuale_massa_frenata, 1) + " %";
      else if (m.percentuale_letta != m.percentuale_massa_frenata)
        nota = "the train source's " + std::to_string(m.percentuale_letta) + " % brought within " +
               numero(massa_frenata_minima, 0) + " to " + numero(massa_frenata_massima, 0) + " %";
    }
    v.push_back({"percentuale_massa_frenata", "braked mass", m.percentuale_massa_frenata, "%",
                 data(o.percentuale_massa_frenata) ? "option" : "train source", nota});
  }
  if (data(o.velocita_massima_kmh))
    v.push_back({"velocita_massima_kmh", "top speed", m.velocita_massima_kmh, "km/h", "option", "option --top-speed"});
  else if (massima > 0)
    v.push_back({"velocita_massima_kmh", "top speed", m.velocita_massima_kmh, "km/h", "route",
                 "the route's highest line limit"});
  else
    v.push_back({"velocita_massima_kmh", "top speed", m.velocita_massima_kmh, "km/h", "default",
                 "default: no line limit laid on the route"});
  v.push_back({"sosta_s", "dwell", m.sosta_s, "s", data(o.sosta_s) ? "option" : "default",
               data(o.sosta_s) ? "option --dwell" : "default"});
  v.push_back({"vetture", "cars", static_cast<double>(m.vetture), "", "train source", "train source"});
  v.push_back({"lunghezza_vettura_m", "car length", m.lunghezza_vettura_m, "m",
               data(o.lunghezza_vettura_m) ? "option" : "default", data(o.lunghezza_vettura_m) ? "option --car-length" : "default"});
  v.push_back({"lunghezza_treno_m", "train length", m.lunghezza_treno_m, "m", "derived", "cars times car length"});
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

void scrivi_orario_testo(const scenario& f, const opzioni_marcia& o, const marcia& m, std::ostream& out) {
  out << "Scenario " << f.nome_scenario << ", train " << f.numero_treno
      << ": the fastest run against the timetable\n\nValues used\n";
  for (const valore_usato& v : valori_usati(f, o, m.modello)) {
    const int decimali = v.unita == "m/s2" ? 3 : v.unita.empty() ? 0 : 1;
    out << "  " << colonna(std::string(v.nome), 14) << colonna(numero(v.valore, decimali), 7, true) << ' '
        << colonna(std::string(v.unita), 6) << v.nota << '\n';
  }

  const std::vector<riga_orario> righe = righe_orario(m);
  if (m.sezioni.empty()) {
    out << "\nNo section to time: the timetable has fewer than two stops (stations with a time).\n";
  } else {
    std::size_t largo_nome = 7;
    for (const riga_orario& r : righe)
      largo_nome = std::max(largo_nome, caratteri_utf8(nome(r.stazione)) + (r.cosa == evento::passaggio ? 2 : 0));
    out << "\n" << colonna("km", 7, true) << "  " << colonna("station", largo_nome) << "  "
        << colonna("", 9) << colonna("scheduled", 11, true) << colonna("fastest", 11, true)
        << colonna("margin", 11, true) << '\n';
    for (std::size_t i = 0; i < righe.size(); ++i) {
      const riga_orario& r = righe[i];
      // A stop's departure right after its arrival goes under it, without its name again.
      const bool sotto = r.cosa == evento::partenza && i > 0 && righe[i - 1].cosa == evento::arrivo;
      std::string riga = sotto ? std::string(7, ' ') : colonna(km(r.stazione.posizione_m), 7, true);
      riga += "  ";
      riga += colonna(sotto ? "" : (r.cosa == evento::passaggio ? "  " : "") + nome(r.stazione), largo_nome);
      riga += "  " + colonna(nome_evento(r.cosa), 9);
      riga += colonna(ora(r.ora_orario_s, r.cosa != evento::passaggio), 11, true);
      riga += colonna(r.ora_piu_veloce_s ? ora(*r.ora_piu_veloce_s) : "", 11, true);
      if (r.fine_di) riga += "  " + margine(*r.fine_di) + (r.fine_di->mantenibile ? "" : "  CANNOT BE KEPT");
      riga.erase(riga.find_last_not_of(' ') + 1);
      out << riga << '\n';
    }

    std::size_t largo = 7;
    for (const sezione& s : m.sezioni) largo = std::max(largo, caratteri_utf8(nome_sezione(s)));
    out << "\n" << colonna("Sections", largo + 2) << colonna("km", 8, true) << colonna("scheduled", 11, true)
        << colonna("fastest", 10, true) << colonna("margin", 10, true) << '\n';
    std::vector<std::string> tenute;
    for (const sezione& s : m.sezioni) {
      out << "  " << colonna(nome_sezione(s), largo) << colonna(km(s.distanza_m), 8, true)
          << colonna(durata(s.tempo_orario_s), 11, true) << colonna(durata(s.tempo_minimo_s), 10, true) << ' '
          << margine(s) << (s.mantenibile ? "" : "  CANNOT BE KEPT") << '\n';
      if (!s.mantenibile) tenute.push_back(nome_sezione(s));
    }
    out << '\n';
    if (tenute.empty()) {
      out << "Every section can be kept.\n";
    } else {
      out << tenute.size() << " of " << m.sezioni.size() << (m.sezioni.size() == 1 ? " section" : " sections")
          << " cannot be kept, even by the fastest run: ";
      for (std::size_t i = 0; i < tenute.size(); ++i) out << (i ? ", " : "") << tenute[i];
      out << ".\n";
    }
  }

  for (const intervallo& i : m.senza_limite)
    out << "No line speed limit laid from " << km(i.inizio_m) << " to " << km(i.fine_m)
        << " km: run at the top speed there.\n";
  for (const anomalia_fermata& a : m.anomalie) {
    std::string di;
    for (const sezione& s : m.sezioni)
      if (s.a.slot == a.slot) di = nome(s.a);
    out << "The time of " << di << " (slot " << a.slot << ") "
        << (a.tipo == anomalia_orario::ora_indietro
                ? "comes before the stop's before it: taken as it is, its section's scheduled time is negative.\n"
                : "crosses midnight a second time: taken as the day after.\n");
  }
  if (!m.fuori_corsa.empty()) {
    out << "Outside the run (before the first stop or after the last): ";
    for (std::size_t i = 0; i < m.fuori_corsa.size(); ++i)
      out << (i ? ", " : "") << (m.fuori_corsa[i].nome.empty() ? "a station with no name" : nome(m.fuori_corsa[i]))
          << " (slot " << m.fuori_corsa[i].slot << ")";
    out << ".\n";
  }
}

void scrivi_orario_csv(const marcia& m, std::ostream& out) {
  std::string riga;
  for (const char* c : campi_riga) riga += (riga.empty() ? "" : ",") + std::string(c);
  out << riga << '\n';
  for (const riga_orario& r : righe_orario(m)) {
    const sezione* s = r.fine_di;
    auto della_sezione = [&](double sezione::*campo) { return s ? reale_csv(s->*campo) : std::string(); };
    riga = nome_evento(r.cosa);
    riga += ',' + std::to_string(r.stazione.slot) + ',' + campo_csv(utf8_da_1252(r.stazione.nome)) + ',' +
            std::to_string(r.stazione.posizione_m) + ',' + reale_csv(r.ora_orario_s) + ',' +
            (r.ora_piu_veloce_s ? reale_csv(*r.ora_piu_veloce_s) : "") + ',' + della_sezione(&sezione::distanza_m) +
            ',' + della_sezione(&sezione::tempo_orario_s) + ',' + della_sezione(&sezione::tempo_minimo_s) + ',' +
            della_sezione(&sezione::margine_s) + ',' + della_sezione(&sezione::margine_percento) + ',' +
            (s ? (s->mantenibile ? "true" : "false") : "");
    out << riga << '\n';
  }
}

ordered_json orario_json(const esito_comando& e, const opzioni_marcia& o, const marcia* m) {
  const scenario& f = e.c.scenario;
  ordered_json j = esito_json(e);
  j.erase("files");
  j["scenario"] = utf8_da_1252(f.nome_scenario);
  j["treno"] = utf8_da_1252(f.numero_treno);
  const modello_treno modello = m ? m->modello : modello_da_scenario(f, o);
  ordered_json valori = ordered_json::object();
  for (const valore_usato& v : valori_usati(f, o, modello)) {
    ordered_json voce;
    // A count stays a whole number.
    voce["valore"] = v.unita.empty() ? ordered_json(intero(v.valore)) : ordered_json(al_millesimo(v.valore));
    voce["unita"] = v.unita;
    voce["origine"] = v.origine;
    voce["nota"] = v.nota;
    valori[std::string(v.chiave)] = std::move(voce);
  }
  j["modello"] = std::move(valori);
  ordered_json righe = ordered_json::array(), sezioni = ordered_json::array(), senza = ordered_json::array(),
               anomalie = ordered_json::array(), fuori = ordered_json::array();
  if (m) {
    for (const riga_orario& r : righe_orario(*m)) righe.push_back(riga_json(r));
    for (const sezione& s : m->sezioni) {
      ordered_json v;
      v["da"] = stazione_json(s.da);
      v["a"] = stazione_json(s.a);
      v["distanza_m"] = al_millesimo(s.distanza_m);
      v["partenza_s"] = al_millesimo(s.partenza_s);
      v["tempo_orario_s"] = al_millesimo(s.tempo_orario_s);
      v["tempo_minimo_s"] = al_millesimo(s.tempo_minimo_s);
      v["margine_s"] = al_millesimo(s.margine_s);
      v["margine_percento"] = al_millesimo(s.margine_percento);
      v["mantenibile"] = s.mantenibile;
      sezioni.push_back(std::move(v));
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
  j["senza_limite"] = std::move(senza);
  j["anomalie"] = std::move(anomalie);
  j["fuori_corsa"] = std::move(fuori);
  j["mantenibile"] = m ? ordered_json(tutte_mantenibili(*m)) : ordered_json(nullptr);
  return j;
}
