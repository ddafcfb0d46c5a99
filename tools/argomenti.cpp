#include "tools/argomenti.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "formato/nomi_file.h"
#include "sources/scenario_nuovo.h"
#include "tools/opzioni_marcia.h"

namespace {

bool finisce_con(std::string_view testo, std::string_view coda) {
  return testo.size() >= coda.size() && testo.compare(testo.size() - coda.size(), coda.size(), coda) == 0;
}

// A scenario name or train number becomes part of file names: it must name a
// file in the output directory, never another directory.
bool nome_valido(const std::string& nome, const char* cosa, std::string& errore) {
  if (nome.empty() || nome == "." || nome == ".." || nome.find('/') != std::string::npos) {
    errore = std::string("the ") + cosa + " '" + nome +
             "' cannot be part of a file name (it must be non-empty and hold no '/')";
    return false;
  }
  return true;
}

// An option that takes a value, written "--opt VALUE" or "--opt=VALUE".
// Returns true when `a` is that option; `valore` is then filled or `errore` set.
bool opzione_con_valore(const std::string& nome, std::span<const std::string> argomenti,
                        std::size_t& i, std::string& valore, std::string& errore) {
  const std::string& a = argomenti[i];
  if (a == nome) {
    if (i + 1 >= argomenti.size()) {
      errore = "option " + nome + " needs a value";
      return true;
    }
    valore = argomenti[++i];
    return true;
  }
  if (a.rfind(nome + "=", 0) == 0) {
    valore = a.substr(nome.size() + 1);
    return true;
  }
  return false;
}

// A per cent from 0 to 100, as "3" or "2.5".
bool percento(const std::string& valore, double& out, std::string& errore) {
  double v = 0;
  const auto [fine, ec] = std::from_chars(valore.data(), valore.data() + valore.size(), v);
  if (valore.empty() || ec != std::errc() || fine != valore.data() + valore.size() || !(v >= 0 && v <= 100)) {
    errore = "option --min-margin needs a per cent from 0 to 100, not '" + valore + "'";
    return false;
  }
  out = v;
  return true;
}

const char* nome_comando(azione a) {
  switch (a) {
    case azione::pack: return "pack";
    case azione::docs: return "docs";
    case azione::check: return "check";
    case azione::plot: return "plot";
    case azione::nuovo: return "new";
    case azione::timing: return "timing";
    default: return "dump";
  }
}

// "17:03" as seconds of the day: hours 0 to 23 in one or two digits, minutes in two.
bool ora_del_giorno(const std::string& testo, int32_t& secondi) {
  const std::size_t due_punti = testo.find(':');
  if (due_punti == std::string::npos || due_punti == 0 || due_punti > 2 || testo.size() != due_punti + 3) return false;
  for (std::size_t i = 0; i < testo.size(); ++i)
    if (i != due_punti && (testo[i] < '0' || testo[i] > '9')) return false;
  const int ore = std::stoi(testo.substr(0, due_punti)), minuti = std::stoi(testo.substr(due_punti + 1));
  if (ore > 23 || minuti > 59) return false;
  secondi = ore * 3600 + minuti * 60;
  return true;
}

// The options of the driver's documents. Returns true when `argomenti[i]` is
// one of them; `r` is then filled or `errore` set.
bool opzione_documenti(std::span<const std::string> argomenti, std::size_t& i, richiesta& r, std::string& errore) {
  std::string valore;
  if (opzione_con_valore("--classification", argomenti, i, valore, errore)) {
    r.documenti.classificazione = valore;
  } else if (opzione_con_valore("--mass", argomenti, i, valore, errore)) {
    // A whole number of tonnes that the heading's cell holds.
    const bool cifre = !valore.empty() && valore.size() <= 6 && valore.find_first_not_of("0123456789") == std::string::npos;
    if (errore.empty() && (!cifre || std::stoi(valore) == 0))
      errore = "option --mass needs a whole number of tonnes from 1 to 999999, not '" + valore + "'";
    else if (errore.empty())
      r.documenti.massa = std::stoi(valore);
  } else if (opzione_con_valore("--departure", argomenti, i, valore, errore)) {
    int32_t secondi = 0;
    if (errore.empty() && !ora_del_giorno(valore, secondi))
      errore = "option --departure needs a time of day HH:MM (00:00 to 23:59), not '" + valore + "'";
    else if (errore.empty())
      r.partenza_scheda = secondi;
  } else if (opzione_con_valore("--signature", argomenti, i, valore, errore)) {
    r.documenti.firma = valore;
  } else if (opzione_con_valore("--contact", argomenti, i, valore, errore)) {
    r.documenti.contatto = valore;
  } else {
    return false;
  }
  return true;
}

const char* nome_tipo(tipo_imballato t) {
  switch (t) {
    case tipo_imballato::percorso: return "route grid";
    case tipo_imballato::stazioni: return "station table";
    case tipo_imballato::linea: return "line plan";
    default: return "packed file";
  }
}

}  // namespace

bool nome_da_file(const std::filesystem::path& linea, std::string& nome) {
  const std::string base = linea.filename().string();
  const std::string_view coda = coda_linea_sorgente;
  if (!finisce_con(base, coda) || base.size() == coda.size()) return false;
  nome = base.substr(0, base.size() - coda.size());
  return true;
}

bool numero_da_file(const std::filesystem::path& treno, std::string& numero) {
  const std::string base = treno.filename().string();
  const std::string_view coda = coda_treno_sorgente;
  if (!finisce_con(base, coda)) return false;
  const std::string testa = base.substr(0, base.size() - coda.size());
  const std::size_t trattino = testa.rfind('_');
  // "X_739-.txt": a scenario name, an underscore, a non-empty number.
  if (trattino == std::string::npos || trattino == 0 || trattino + 1 == testa.size()) return false;
  numero = testa.substr(trattino + 1);
  return true;
}

std::vector<std::pair<std::string, std::string>> scenari_in_cartella(
    const std::filesystem::path& cartella) {
  std::vector<std::pair<std::string, std::string>> scenari;
  for (const auto& voce : std::filesystem::directory_iterator(cartella)) {
    const std::string base = voce.path().filename().string();
    if (!finisce_con(base, coda_stazioni_imballate)) continue;
    const std::string testa = base.substr(0, base.size() - coda_stazioni_imballate.size());
    const std::size_t trattino = testa.rfind('_');
    if (trattino == std::string::npos || trattino == 0 || trattino + 1 == testa.size()) continue;
    scenari.emplace_back(testa.substr(0, trattino), testa.substr(trattino + 1));
  }
  std::sort(scenari.begin(), scenari.end());
  return scenari;
}

tipo_imballato tipo_da_nome(const std::filesystem::path& file) {
  const std::string base = file.filename().string();
  if (finisce_con(base, coda_linea_imballata)) return tipo_imballato::linea;
  if (finisce_con(base, coda_percorso_imballato)) return tipo_imballato::percorso;
  if (finisce_con(base, coda_stazioni_imballate)) return tipo_imballato::stazioni;
  return tipo_imballato::nessuno;
}

bool leggi_argomenti(std::span<const std::string> argomenti, richiesta& r, std::string& errore) {
  r = richiesta{};
  errore.clear();  // an error is told by its text being set
  if (argomenti.empty()) {
    errore = "no command given (pack, check, timing, docs, dump, plot or new); try 'scenario --help'";
    return false;
  }
  const std::string& primo = argomenti[0];
  if (primo == "--help" || primo == "-h" || primo == "help") {
    r.cosa = azione::aiuto;
    return true;
  }
  if (primo == "--version") {
    r.cosa = azione::versione;
    return true;
  }
  if (primo == "pack") r.cosa = azione::pack;
  else if (primo == "check") r.cosa = azione::check;
  else if (primo == "dump") r.cosa = azione::dump;
  else if (primo == "plot") r.cosa = azione::plot;
  else if (primo == "docs") r.cosa = azione::docs;
  else if (primo == "new") r.cosa = azione::nuovo;
  else if (primo == "timing") r.cosa = azione::timing;
  else {
    errore = "unknown command '" + primo + "' (pack, check, timing, docs, dump, plot or new); try 'scenario --help'";
    return false;
  }

  // Help on the command wins over anything else on the line.
  for (std::size_t i = 1; i < argomenti.size() && argomenti[i] != "--"; ++i)
    if (argomenti[i] == "--help" || argomenti[i] == "-h") {
      r.aiuto_su = r.cosa;
      r.cosa = azione::aiuto;
      return true;
    }

  const bool documenti = r.cosa == azione::docs;
  const bool compila = r.cosa == azione::pack || r.cosa == azione::check || documenti || r.cosa == azione::timing;
  const bool disegna = r.cosa == azione::plot;
  const bool scarica = r.cosa == azione::dump;
  const bool nuovo = r.cosa == azione::nuovo;
  // The commands that report the build's errors and warnings as check does.
  const bool riporta = compila && r.cosa != azione::timing;
  const std::string comando = nome_comando(r.cosa);
  bool nome_dato = false, numero_dato = false, json = false, csv = false, margine = false, margine_minimo = false;
  std::string opzione_documento;  // the first option of the documents given to pack
  std::vector<std::string> posizionali;
  bool solo_posizionali = false;
  for (std::size_t i = 1; i < argomenti.size(); ++i) {
    const std::string& a = argomenti[i];
    std::string valore;
    if (solo_posizionali || a == "-" || a.empty() || a[0] != '-') {
      posizionali.push_back(a);
    } else if (a == "--") {
      solo_posizionali = true;
    } else if (!disegna && !nuovo && a == "--json") {
      json = true;
    } else if (r.cosa == azione::pack && a == "--no-line-plan") {
      r.senza_linea = true;
    } else if (riporta && a == "--warnings-as-errors") {
      r.avvisi_come_errori = true;
    } else if (r.cosa == azione::pack && a == "--strict") {
      r.severo = true;
    } else if (riporta && (a == "--source" || a == "--no-source")) {
      r.sorgente = a == "--source" ? righe_sorgente::sempre : righe_sorgente::mai;
    } else if (riporta && opzione_con_valore("--min-margin", argomenti, i, valore, errore)) {
      double p = 0.0;
      if (!errore.empty() || !percento(valore, p, errore)) return false;
      r.marcia.margine = margine_recupero{p, 0.0};
      margine_minimo = true;
    } else if (r.cosa == azione::pack && a == "--docs") {
      r.con_documenti = true;
    } else if ((documenti || r.cosa == azione::pack) && opzione_documenti(argomenti, i, r, errore)) {
      if (!errore.empty()) return false;
      if (opzione_documento.empty()) opzione_documento = a.substr(0, a.find('='));
    } else if ((r.cosa == azione::pack || disegna || documenti || nuovo) &&
               opzione_con_valore("-o", argomenti, i, valore, errore)) {
      if (!errore.empty()) return false;
      if (valore.empty()) {
        errore = disegna ? "option -o needs a file" : "option -o needs a directory";
        return false;
      }
      if (disegna) r.file_disegno = valore;
      else r.cartella_uscita = valore;
    } else if ((compila || disegna) && opzione_con_valore("--name", argomenti, i, valore, errore)) {
      if (!errore.empty() || !nome_valido(valore, "scenario name", errore)) return false;
      r.nome_scenario = valore;
      nome_dato = true;
    } else if ((compila || disegna || nuovo) && opzione_con_valore("--train", argomenti, i, valore, errore)) {
      if (!errore.empty() || !nome_valido(valore, "train number", errore)) return false;
      r.numero_treno = valore;
      numero_dato = true;
    } else if ((compila || disegna) && leggi_opzione_marcia(argomenti, i, r.marcia, errore)) {
      if (!errore.empty()) return false;
      if (a.rfind("--margin", 0) == 0) margine = true;
    } else if (r.cosa == azione::timing && a == "--profile") {
      r.profilo = true;
    } else if ((scarica || r.cosa == azione::timing) && a == "--csv") {
      csv = true;
    } else if (scarica && a == "--all") {
      r.tutti = true;
    } else if (scarica && a == "--features") {
      r.solo_elementi = true;
    } else if ((scarica || nuovo) && a == "--force") {
      r.forza = true;
    } else if (scarica && opzione_con_valore("--kind", argomenti, i, valore, errore)) {
      if (!errore.empty()) return false;
      if (valore == "grid") r.tipo = tipo_imballato::percorso;
      else if (valore == "stations") r.tipo = tipo_imballato::stazioni;
      else if (valore == "plan") r.tipo = tipo_imballato::linea;
      else {
        errore = "unknown kind '" + valore + "' (grid, stations or plan)";
        return false;
      }
    } else {
      errore = "unknown option '" + a + "' for " + comando + "; try 'scenario " + comando + " --help'";
      return false;
    }
  }
  if (json && csv) {
    errore = "give --json or --csv, not both";
    return false;
  }
  r.forma = json ? formato::json : csv ? formato::csv : formato::testo;
  if (documenti) r.con_documenti = true;
  if (!r.con_documenti && !opzione_documento.empty()) {
    errore = "option " + opzione_documento + " is for the documents: give --docs too";
    return false;
  }
  if (!opzioni_marcia_coerenti(r.marcia, errore)) return false;
  if (margine && margine_minimo) {
    errore = "give --margin or --min-margin, not both (--min-margin P is --margin P%)";
    return false;
  }
  if (r.profilo && !csv) {
    errore = "option --profile goes with --csv (the JSON holds the profile always)";
    return false;
  }

  if (disegna) {
    if (posizionali.size() != 1) {
      errore = "plot takes the directory of a packed scenario; try 'scenario plot --help'";
      return false;
    }
    if (r.file_disegno.empty()) {
      errore = "plot needs -o FILE.svg";
      return false;
    }
    // The name and the number not given are found from the files in the directory.
    r.cartella_imballati = posizionali[0];
    return true;
  }

  if (nuovo) {
    if (posizionali.size() != 1) {
      errore = "new takes the name of the scenario to begin; try 'scenario new --help'";
      return false;
    }
    r.nome_scenario = posizionali[0];
    if (!numero_dato) r.numero_treno = numero_treno_nuovo;
    return nome_valido(r.nome_scenario, "scenario name", errore);
  }

  if (scarica) {
    if (posizionali.size() != 1) {
      errore = "dump takes one packed file; try 'scenario dump --help'";
      return false;
    }
    r.file = posizionali[0];
    const tipo_imballato dal_nome = tipo_da_nome(r.file);
    if (r.tipo == tipo_imballato::nessuno) r.tipo = dal_nome;
    if (r.tipo == tipo_imballato::nessuno) {
      errore = "cannot tell the kind of '" + r.file.string() +
               "' from its name (X_linea.dat, X_N.dat, X_N.sim); give --kind grid, stations or plan";
      return false;
    }
    // Read as another kind, a file whose length happens to fit shows nonsense.
    if (dal_nome != tipo_imballato::nessuno && dal_nome != r.tipo && !r.forza) {
      errore = "'" + r.file.string() + "' is named as a " + nome_tipo(dal_nome) + ", not a " +
               nome_tipo(r.tipo) + "; give --force to read it as one all the same";
      return false;
    }
    if (r.solo_elementi && r.tipo != tipo_imballato::percorso) {
      errore = "--features shows the cells of a route grid, not a " + std::string(nome_tipo(r.tipo));
      return false;
    }
    if (r.solo_elementi && r.tutti) {
      errore = "give --features or --all, not both";
      return false;
    }
    return true;
  }

  if (posizionali.size() != 2) {
    errore = comando + " takes a line source and a train source; try 'scenario " + comando + " --help'";
    return false;
  }
  r.linea = posizionali[0];
  r.treno = posizionali[1];
  if (!nome_dato && !nome_da_file(r.linea, r.nome_scenario)) {
    errore = "cannot tell the scenario name from '" + r.linea.string() +
             "': name the line source X_linea.txt or give --name NAME";
    return false;
  }
  if (!numero_dato && !numero_da_file(r.treno, r.numero_treno)) {
    errore = "cannot tell the train number from '" + r.treno.string() +
             "': name the train source X_NUMBER-.txt or give --train NUMBER";
    return false;
  }
  return nome_valido(r.nome_scenario, "scenario name", errore) &&
         nome_valido(r.numero_treno, "train number", errore);
}
