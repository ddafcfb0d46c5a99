#include "tools/opzioni_marcia.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>

#include "formato/testo_1252.h"

namespace {

// A number as the messages and the help write it: "0.05", "5", "86400", "100000".
std::string scritto(double v) {
  char b[32];
  const bool intero = v == std::trunc(v) && std::fabs(v) < 1e15;
  const auto [fine, ec] = intero ? std::to_chars(b, b + sizeof b, static_cast<long long>(v))
                                 : std::to_chars(b, b + sizeof b, v);
  return ec == std::errc() ? std::string(b, fine) : std::string("?");
}

// The whole text a plain decimal number: no unit after it, no "nan" nor "inf".
bool numero(std::string_view testo, double& v) {
  const char* inizio = testo.data();
  const char* fine = inizio + testo.size();
  const auto [dove, ec] = std::from_chars(inizio, fine, v);
  return !testo.empty() && ec == std::errc() && dove == fine && std::isfinite(v);
}

bool leggi_riferimento(const std::string& valore, opzioni_marcia& o, std::string& errore) {
  o.riferimento = riferimento_di_nome(valore);
  if (!o.riferimento)
    errore = "option --reference-train takes '" + std::string(dati_di(treno_riferimento::elettrotreno).nome) +
             "' or '" + dati_di(treno_riferimento::locomotiva).nome + "', not '" + valore + "'";
  return o.riferimento.has_value();
}

// "A,B,C": the running resistance's three coefficients, each within its bound.
bool leggi_resistenza(const std::string& valore, opzioni_marcia& o, std::string& errore) {
  double v[3] = {};
  const double massimi[3] = {resistenza_a_massima_kn, resistenza_b_massima_kn, resistenza_c_massima_kn};
  std::size_t da = 0;
  for (int k = 0; k < 3; ++k) {
    const std::size_t virgola = k < 2 ? valore.find(',', da) : valore.size();
    if (virgola == std::string::npos || !numero(std::string_view(valore).substr(da, virgola - da), v[k]) ||
        (k == 2 && virgola != valore.size())) {
      errore = "option --resistance takes three numbers A,B,C (kN, kN per km/h, kN per (km/h)2), not '" + valore + "'";
      return false;
    }
    if (v[k] < 0 || v[k] > massimi[k]) {
      errore = "option --resistance: " + scritto(v[k]) + " is not what a train can have (" + "ABC"[k] + " from 0 to " +
               scritto(massimi[k]) + ")";
      return false;
    }
    da = virgola + 1;
  }
  o.resistenza_a_kn = v[0];
  o.resistenza_b_kn = v[1];
  o.resistenza_c_kn = v[2];
  return true;
}

bool leggi_rilascio(const std::string& valore, opzioni_marcia& o, std::string& errore) {
  if (valore != "tail" && valore != "head") {
    errore = "option --release takes 'tail' or 'head', not '" + valore + "'";
    return false;
  }
  o.rilascio_in_coda = valore == "tail";
  return true;
}

// "NAME=SECONDS"; the name as the station table holds it, in single-byte text.
bool leggi_sosta(const std::string& valore, opzioni_marcia& o, std::string& errore) {
  const std::size_t uguale = valore.rfind('=');
  double secondi = 0.0;
  if (uguale == std::string::npos || uguale == 0 || !numero(std::string_view(valore).substr(uguale + 1), secondi)) {
    errore = "option --dwell-at takes STATION=SECONDS, not '" + valore + "'";
    return false;
  }
  if (secondi < 0 || secondi > sosta_massima_s) {
    errore = "option --dwell-at: " + valore.substr(uguale + 1) + " s is not a dwell (0 to " + scritto(sosta_massima_s) + " s)";
    return false;
  }
  std::string nome = valore.substr(0, uguale);
  converti_in_1252(nome);
  o.soste.push_back({nome, secondi});
  return true;
}

bool leggi_margine_opzione(const std::string& valore, opzioni_marcia& o, std::string& errore) {
  margine_recupero m;
  if (!leggi_margine(valore, m, errore)) return false;
  o.margine = m;
  return true;
}

constexpr opzione_marcia opzioni[] = {
    {"--reference-train", "NAME", "", 0, 0, nullptr,
     "the train whose traction and resistance are taken: 'unit' (a regional multiple unit) or 'locomotive' "
     "(an electric locomotive with coaches)",
     "unit for 1 to 6 cars and a braked mass of 120 % or more, else locomotive", leggi_riferimento},
    {"--train-mass", "T", "t", massa_minima_t, massa_massima_t, &opzioni_marcia::massa_t, "the train's mass, loaded",
     "the reference train's"},
    {"--adhesive-mass", "T", "t", 0.0, massa_massima_t, &opzioni_marcia::massa_aderente_t,
     "the mass on driven axles", "the reference train's"},
    {"--power", "KW", "kW", potenza_minima_kw, potenza_massima_kw, &opzioni_marcia::potenza_kw,
     "traction power at the wheel rim", "the reference train's"},
    {"--tractive-effort", "KN", "kN", sforzo_minimo_kn, sforzo_massimo_kn, &opzioni_marcia::sforzo_trazione_kn,
     "the drive's tractive effort at low speed", "the reference train's"},
    {"--adhesion", "MU", "", 0.0, aderenza_massima, &opzioni_marcia::aderenza,
     "the share of the adhesive weight the drive can pull with; 0: no limit", "0.33"},
    {"--acceleration", "M/S2", "m/s2", accelerazione_residua_minima, accelerazione_massima,
     &opzioni_marcia::accelerazione,
     "starting acceleration on the level, instead of the tractive effort and adhesion", ""},
    {"--rotating-mass", "FACTOR", "", 1.0, masse_rotanti_massime, &opzioni_marcia::masse_rotanti,
     "the train's inertia over its mass", "the reference train's"},
    {"--resistance", "A,B,C", "", 0, 0, nullptr,
     "running resistance A + B V + C V2 in kN, V in km/h, each 0 or more", "Sauthoff's formula",
     leggi_resistenza},
    {"--curve-resistance", "K", "", 0.0, resistenza_curve_massima, &opzioni_marcia::resistenza_curve,
     "curve resistance K / (R - 55) per mille of the weight; 0: curves cost nothing", "650"},
    {"--braking", "M/S2", "m/s2", accelerazione_residua_minima, accelerazione_massima,
     &opzioni_marcia::decelerazione, "service braking on the level, instead of the one worked out from the braked mass",
     ""},
    {"--braked-mass", "PERCENT", "%", massa_frenata_minima, massa_frenata_massima,
     &opzioni_marcia::percentuale_massa_frenata, "braked-mass percentage", "the train source's"},
    {"--top-speed", "KM/H", "km/h", velocita_minima_kmh, velocita_massima_ammessa_kmh,
     &opzioni_marcia::velocita_massima_kmh, "the train's top speed",
     "the route's highest line limit, within the reference train's"},
    {"--car-length", "M", "m", 0.0, lunghezza_vettura_massima_m, &opzioni_marcia::lunghezza_vettura_m,
     "length of a car over buffers; the train's length is its number of cars times it", "26.4"},
    {"--release", "RULE", "", 0, 0, nullptr,
     "where a lower limit is let go: 'tail' (once the train's tail has cleared it) or 'head' (once the head "
     "passes its end, save slow orders for the whole train)",
     "tail", leggi_rilascio},
    {"--dwell", "SECONDS", "s", 0.0, sosta_massima_s, &opzioni_marcia::sosta_s, "dwell at every stop but the last",
     "120"},
    {"--dwell-at", "STATION=SECONDS", "", 0, 0, nullptr,
     "dwell at the stop named STATION (the case of letters aside); may be given for several stops", "",
     leggi_sosta},
    {"--margin", "MARGIN", "", 0, 0, nullptr,
     "recovery margin over the fastest run: PERCENT% of its time, MINUTESmin/100km of its distance, or both "
     "joined by '+' (5%+1.5min/100km); 0: none",
     "3 to 7 % by the top speed, + 1.5min/100km", leggi_margine_opzione},
};

// The column where the options' descriptions start.
constexpr std::size_t colonna_aiuto = 23;

}  // namespace

std::span<const opzione_marcia> opzioni_del_modello() { return opzioni; }

bool leggi_margine(std::string_view testo, margine_recupero& m, std::string& errore) {
  m = {};
  auto sbagliato = [&] {
    errore = "option --margin takes PERCENT%, MINUTESmin/100km or both joined by '+' (5%+1.5min/100km), not '" +
             std::string(testo) + "'";
    return false;
  };
  if (testo == "0") return true;
  bool percento = false, minuti = false;
  std::size_t da = 0;
  while (da <= testo.size()) {
    std::size_t piu = testo.find('+', da);
    if (piu == std::string_view::npos) piu = testo.size();
    const std::string_view parte = testo.substr(da, piu - da);
    double v = 0.0;
    constexpr std::string_view per_distanza = "min/100km";
    if (parte.size() > 1 && parte.back() == '%' && !percento && numero(parte.substr(0, parte.size() - 1), v)) {
      if (v < 0 || v > margine_massimo_percento) return sbagliato();
      m.percento = v;
      percento = true;
    } else if (parte.size() > per_distanza.size() && parte.ends_with(per_distanza) && !minuti &&
               numero(parte.substr(0, parte.size() - per_distanza.size()), v)) {
      if (v < 0 || v > margine_massimo_minuti) return sbagliato();
      m.minuti_per_100_km = v;
      minuti = true;
    } else {
      return sbagliato();
    }
    da = piu + 1;
  }
  return true;
}

bool leggi_opzione_marcia(std::span<const std::string> argomenti, std::size_t& i, opzioni_marcia& o,
                          std::string& errore) {
  const std::string& a = argomenti[i];
  for (const opzione_marcia& op : opzioni) {
    std::string valore;
    if (a == op.nome) {
      if (i + 1 >= argomenti.size()) {
        errore = "option " + std::string(op.nome) + " needs a value";
        return true;
      }
      valore = argomenti[++i];
    } else if (a.size() > op.nome.size() && a.compare(0, op.nome.size(), op.nome) == 0 && a[op.nome.size()] == '=') {
      valore = a.substr(op.nome.size() + 1);
    } else {
      continue;
    }
    if (op.leggi != nullptr) {
      op.leggi(valore, o, errore);
      return true;
    }
    double v = 0.0;
    if (!numero(valore, v)) {
      errore = "option " + std::string(op.nome) + " takes a number" +
               (op.unita.empty() ? std::string() : " of " + std::string(op.unita)) + ", not '" + valore + "'";
      return true;
    }
    if (v < op.minimo || v > op.massimo) {
      const std::string unita = op.unita.empty() ? "" : " " + std::string(op.unita);
      errore = "option " + std::string(op.nome) + ": " + valore + unita + " is not what a train can have (" +
               scritto(op.minimo) + " to " + scritto(op.massimo) + unita + ")";
      return true;
    }
    o.*op.campo = v;
    return true;
  }
  return false;
}

bool opzioni_marcia_coerenti(const opzioni_marcia& o, std::string& errore) {
  if (o.decelerazione && o.percentuale_massa_frenata) {
    errore = "give --braking or --braked-mass, not both (--braking replaces the braking worked out from the braked mass)";
    return false;
  }
  if (o.accelerazione && (o.sforzo_trazione_kn || o.aderenza)) {
    errore = std::string("give --acceleration or ") + (o.sforzo_trazione_kn ? "--tractive-effort" : "--adhesion") +
             ", not both (--acceleration sets the tractive effort at low speed, the adhesion's limit left aside)";
    return false;
  }
  if (o.massa_t && o.massa_aderente_t && *o.massa_aderente_t > *o.massa_t) {
    errore = "option --adhesive-mass: " + scritto(*o.massa_aderente_t) + " t is more than the train's mass, " +
             scritto(*o.massa_t) + " t";
    return false;
  }
  return true;
}

std::string aiuto_opzioni_marcia() {
  std::string t =
      "train model options:\n"
      "  The train of the fastest run and the timetable it is judged by (see\n"
      "  docs/marcia.md); each value given replaces the train source's, the reference\n"
      "  train's or the default. A value out of its range is refused.\n";
  for (const opzione_marcia& op : opzioni) {
    std::string testa = "  " + std::string(op.nome) + " " + std::string(op.valore);
    std::string testo = std::string(op.aiuto);
    const bool intervallo = op.leggi == nullptr;
    if (!op.predefinito.empty() || intervallo) testo += " (";
    if (!op.predefinito.empty()) testo += "default " + std::string(op.predefinito) + (intervallo ? "; " : "");
    // The range is never cut across two lines: held together by a mark that
    // becomes a space once the lines are made.
    if (intervallo) testo += scritto(op.minimo) + "\x01to\x01" + scritto(op.massimo);
    if (!op.predefinito.empty() || intervallo) testo += ")";
    if (testa.size() + 2 > colonna_aiuto) {
      t += testa + "\n";
      testa.clear();
    }
    // The text in lines of at most 80 characters, from the description's column.
    std::string riga;
    std::size_t da = 0;
    while (da < testo.size()) {
      std::size_t fine = testo.find(' ', da);
      if (fine == std::string::npos) fine = testo.size();
      const std::string parola = testo.substr(da, fine - da);
      if (!riga.empty() && colonna_aiuto + riga.size() + 1 + parola.size() > 80) {
        testa.resize(colonna_aiuto, ' ');
        t += testa + riga + "\n";
        testa.clear();
        riga.clear();
      }
      riga += (riga.empty() ? "" : " ") + parola;
      da = fine + 1;
    }
    testa.resize(colonna_aiuto, ' ');
    t += testa + riga + "\n";
  }
  std::replace(t.begin(), t.end(), '\x01', ' ');
  return t;
}

std::string con_opzioni_marcia(std::string_view aiuto) {
  std::string t(aiuto);
  const std::size_t uscita = t.find("\nexit status:");
  if (uscita == std::string::npos) return t + "\n" + aiuto_opzioni_marcia();
  return t.insert(uscita + 1, aiuto_opzioni_marcia() + "\n");
}
