#include "tools/opzioni_marcia.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>

namespace {

constexpr opzione_marcia opzioni[] = {
    {"--acceleration", "M/S2", "m/s2", accelerazione_residua_minima, accelerazione_massima,
     &opzioni_marcia::accelerazione, "full acceleration on the level", "0.4"},
    {"--braking", "M/S2", "m/s2", accelerazione_residua_minima, accelerazione_massima,
     &opzioni_marcia::decelerazione, "service braking on the level, instead of the one worked out from the braked mass",
     ""},
    {"--braked-mass", "PERCENT", "%", massa_frenata_minima, massa_frenata_massima,
     &opzioni_marcia::percentuale_massa_frenata, "braked-mass percentage", "the train source's"},
    {"--dwell", "SECONDS", "s", 0.0, sosta_massima_s, &opzioni_marcia::sosta_s, "dwell at every stop but the last",
     "120"},
    {"--top-speed", "KM/H", "km/h", velocita_minima_kmh, velocita_massima_ammessa_kmh,
     &opzioni_marcia::velocita_massima_kmh, "the train's top speed", "the route's highest line limit"},
    {"--car-length", "M", "m", 0.0, lunghezza_vettura_massima_m, &opzioni_marcia::lunghezza_vettura_m,
     "length of a car over buffers; the train's length is its number of cars times it", "26.4"},
};

// The column where the options' descriptions start.
constexpr std::size_t colonna_aiuto = 23;

// A number as the messages and the help write it: "0.05", "5", "86400".
std::string scritto(double v) {
  char b[32];
  const auto [fine, ec] = std::to_chars(b, b + sizeof b, v);
  return ec == std::errc() ? std::string(b, fine) : std::string("?");
}

}  // namespace

std::span<const opzione_marcia> opzioni_del_modello() { return opzioni; }

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
    // The whole value a plain decimal number: no unit after it, no "nan" nor "inf".
    double v = 0.0;
    const char* inizio = valore.data();
    const char* fine = inizio + valore.size();
    const auto [dove, ec] = std::from_chars(inizio, fine, v);
    if (valore.empty() || ec != std::errc() || dove != fine || !std::isfinite(v)) {
      errore = "option " + std::string(op.nome) + " takes a number of " + std::string(op.unita) + ", not '" +
               valore + "'";
      return true;
    }
    if (v < op.minimo || v > op.massimo) {
      errore = "option " + std::string(op.nome) + ": " + valore + " " + std::string(op.unita) +
               " is not what a train can have (" + scritto(op.minimo) + " to " + scritto(op.massimo) + " " +
               std::string(op.unita) + ")";
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
  return true;
}

std::string aiuto_opzioni_marcia() {
  std::string t =
      "train model options:\n"
      "  The train of the fastest run (see docs/marcia.md); each value given replaces\n"
      "  the train source's or the default. A value out of its range is refused.\n";
  for (const opzione_marcia& op : opzioni) {
    std::string testa = "  " + std::string(op.nome) + " " + std::string(op.valore);
    std::string testo = std::string(op.aiuto) + " (";
    if (!op.predefinito.empty()) testo += "default " + std::string(op.predefinito) + "; ";
    // The range is never cut across two lines: held together by a mark that
    // becomes a space once the lines are made.
    testo += scritto(op.minimo) + "\x01to\x01" + scritto(op.massimo) + ")";
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
