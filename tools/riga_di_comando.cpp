#include "tools/riga_di_comando.h"

#include <charconv>

#include "tools/opzioni_marcia.h"

// The commands, each in its own file (tools/comandi/).
extern const comando comando_pack, comando_check, comando_timing, comando_docs, comando_dump, comando_plot,
    comando_new, comando_builtin, comando_lsp;

namespace {

constexpr const comando* elenco[] = {&comando_pack, &comando_check, &comando_timing, &comando_docs,
                                     &comando_dump, &comando_plot, &comando_new, &comando_builtin, &comando_lsp};

// The column where an option's or a command's description starts in the help.
constexpr std::size_t colonna_descrizione = 19;

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

// The form of the output: one of text, JSON and CSV.
bool forma(richiesta& r, formato f, std::string& errore) {
  if (r.forma != formato::testo && r.forma != f) {
    errore = "give --json or --csv, not both";
    return false;
  }
  r.forma = f;
  return true;
}

// An option of the driver's documents: remembered, for pack, which takes them only with --docs.
void di_documenti(richiesta& r, std::string_view nome) {
  if (r.prima_opzione_documenti.empty()) r.prima_opzione_documenti = nome;
}

// The option's row of a help text: its name and value, then its text from
// the description's column (on the next line when the name is longer).
std::string riga_opzione(std::string_view nome, std::string_view valore, std::string_view aiuto) {
  std::string testa = "  " + std::string(nome) + (valore.empty() ? "" : " " + std::string(valore));
  std::string t;
  if (testa.size() + 2 > colonna_descrizione) {
    t = testa + "\n";
    testa.clear();
  }
  testa.resize(colonna_descrizione, ' ');
  return t + testa + avvolto(aiuto, colonna_descrizione, colonna_descrizione).substr(colonna_descrizione);
}

// "[--opt VALUE]" as the usage writes it.
std::string nella_sinossi(const opzione& o) {
  return std::string(o.nome) + (o.valore.empty() ? "" : " " + std::string(o.valore));
}

}  // namespace

// ---- The options the commands share --------------------------------------

const opzione opzione_nome{"--name", "NAME", "scenario name (default: X, from a line source named X_linea.txt)",
                           [](richiesta& r, const std::string& v, std::string& e) {
                             if (!nome_valido(v, "scenario name", e)) return false;
                             r.nome_scenario = v;
                             return true;
                           }};
const opzione opzione_treno{"--train", "NUMBER", "train number (default: N, from a train source named X_N-.txt)",
                            [](richiesta& r, const std::string& v, std::string& e) {
                              if (!nome_valido(v, "train number", e)) return false;
                              r.numero_treno = v;
                              return true;
                            }};
const opzione opzione_uscita{"-o", "DIR", "directory for the files written (default: the current one)",
                             [](richiesta& r, const std::string& v, std::string& e) {
                               if (v.empty()) {
                                 e = "option -o needs a directory";
                                 return false;
                               }
                               r.cartella_uscita = v;
                               return true;
                             },
                             completa::cartella};
const opzione opzione_json{"--json", "",
                           "print one JSON object on standard output instead of the diagnostics: codice_errore, "
                           "posizione_errore, errori, avvisi, errore, dettaglio_errore, scenario, treno, files, "
                           "riepilogo",
                           [](richiesta& r, const std::string&, std::string& e) { return forma(r, formato::json, e); }};
const opzione opzione_csv{"--csv", "", "comma-separated values with a header row",
                          [](richiesta& r, const std::string&, std::string& e) { return forma(r, formato::csv, e); }};
const opzione opzione_forza{"--force", "", "",
                            accendi<&richiesta::forza>};
const opzione opzione_severo{"--strict", "", "",
                             accendi<&richiesta::severo>};
const opzione opzione_avvisi_come_errori{"--warnings-as-errors", "",
                                         "exit with status 1 when there is a warning, as for an error",
                                         accendi<&richiesta::avvisi_come_errori>};
const opzione opzione_margine_minimo{
    "--min-margin", "PERCENT",
    "the recovery margin as PERCENT of the fastest run alone: --margin PERCENT% (see the model options; 0 turns "
    "warning 362 off)",
    [](richiesta& r, const std::string& v, std::string& e) {
      double p = 0.0;
      if (!percento(v, p, e)) return false;
      r.marcia.margine = margine_recupero{p, 0.0};
      r.margine_minimo_dato = true;
      return true;
    }};
const opzione opzione_sorgente{"--source", "",
                               "show each diagnostic's source line and a caret, also when standard error is not a "
                               "terminal",
                               [](richiesta& r, const std::string&, std::string&) {
                                 r.sorgente = righe_sorgente::sempre;
                                 return true;
                               }};
const opzione opzione_senza_sorgente{"--no-source", "", "one line per diagnostic, also on a terminal",
                                     [](richiesta& r, const std::string&, std::string&) {
                                       r.sorgente = righe_sorgente::mai;
                                       return true;
                                     }};

const opzione opzione_classificazione{"--classification", "TEXT",
                                      "the train's classification in the sheet's heading (default: the placeholder "
                                      "xxx)",
                                      [](richiesta& r, const std::string& v, std::string&) {
                                        di_documenti(r, "--classification");
                                        r.documenti.classificazione = v;
                                        return true;
                                      }};
const opzione opzione_massa{"--mass", "TONNES", "the train's mass in the sheet's heading (default: xxxT)",
                            [](richiesta& r, const std::string& v, std::string& e) {
                              di_documenti(r, "--mass");
                              // A whole number of tonnes that the heading's cell holds.
                              const bool cifre = !v.empty() && v.size() <= 6 &&
                                                 v.find_first_not_of("0123456789") == std::string::npos;
                              if (!cifre || std::stoi(v) == 0) {
                                e = "option --mass needs a whole number of tonnes from 1 to 999999, not '" + v + "'";
                                return false;
                              }
                              r.documenti.massa = std::stoi(v);
                              return true;
                            }};
const opzione opzione_partenza{"--departure", "HH:MM",
                               "the sheet's departure from the origin (default: the origin's time in TRAIN); when "
                               "it differs, the notes tell the driver the train starts late (or early) by the "
                               "difference",
                               [](richiesta& r, const std::string& v, std::string& e) {
                                 di_documenti(r, "--departure");
                                 int32_t secondi = 0;
                                 if (!ora_del_giorno(v, secondi)) {
                                   e = "option --departure needs a time of day HH:MM (00:00 to 23:59), not '" + v +
                                       "'";
                                   return false;
                                 }
                                 r.partenza_scheda = secondi;
                                 return true;
                               }};
const opzione opzione_firma{"--signature", "TEXT", "the notes' signature line (default: none)",
                            [](richiesta& r, const std::string& v, std::string&) {
                              di_documenti(r, "--signature");
                              r.documenti.firma = v;
                              return true;
                            }};
const opzione opzione_contatto{"--contact", "TEXT", "the notes' contact line, in parentheses (default: none)",
                               [](richiesta& r, const std::string& v, std::string&) {
                                 di_documenti(r, "--contact");
                                 r.documenti.contatto = v;
                                 return true;
                               }};

// ---- The table -------------------------------------------------------------

std::span<const comando* const> comandi() { return elenco; }

const comando* comando_chiamato(std::string_view nome) {
  for (const comando* c : elenco)
    if (c->nome == nome) return c;
  return nullptr;
}

const comando* comando_di(azione cosa) {
  for (const comando* c : elenco)
    if (c->cosa == cosa) return c;
  return nullptr;
}

bool nome_valido(const std::string& nome, const char* cosa, std::string& errore) {
  // A scenario name or train number becomes part of file names: it must name
  // a file in the output directory, never another directory.
  if (nome.empty() || nome == "." || nome == ".." || nome.find('/') != std::string::npos) {
    errore = std::string("the ") + cosa + " '" + nome +
             "' cannot be part of a file name (it must be non-empty and hold no '/')";
    return false;
  }
  return true;
}

bool concludi_sorgenti(richiesta& r, const std::vector<std::string>& posizionali, std::string& errore) {
  const comando* c = comando_di(r.cosa);
  const std::string nome(c ? c->nome : "");
  if (posizionali.size() != 2) {
    errore = nome + " takes a line source and a train source; try 'scenario " + nome + " --help'";
    return false;
  }
  r.linea = posizionali[0];
  r.treno = posizionali[1];
  if (r.nome_scenario.empty() && !nome_da_file(r.linea, r.nome_scenario)) {
    errore = "cannot tell the scenario name from '" + r.linea.string() +
             "': name the line source X_linea.txt or give --name NAME";
    return false;
  }
  if (r.numero_treno.empty() && !numero_da_file(r.treno, r.numero_treno)) {
    errore = "cannot tell the train number from '" + r.treno.string() +
             "': name the train source X_NUMBER-.txt or give --train NUMBER";
    return false;
  }
  return nome_valido(r.nome_scenario, "scenario name", errore) &&
         nome_valido(r.numero_treno, "train number", errore);
}

// ---- The parser ------------------------------------------------------------

namespace {

std::string nomi_dei_comandi() {
  std::string t;
  for (std::size_t i = 0; i < std::size(elenco); ++i)
    t += (i == 0 ? "" : i + 1 == std::size(elenco) ? " or " : ", ") + std::string(elenco[i]->nome);
  return t;
}

}  // namespace

bool leggi_argomenti(std::span<const std::string> argomenti, richiesta& r, std::string& errore) {
  r = richiesta{};
  errore.clear();
  if (argomenti.empty()) {
    errore = "no command given (" + nomi_dei_comandi() + "); try 'scenario --help'";
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
  const comando* c = comando_chiamato(primo);
  if (c == nullptr) {
    errore = "unknown command '" + primo + "' (" + nomi_dei_comandi() + "); try 'scenario --help'";
    return false;
  }
  r.cosa = c->cosa;

  // Help on the command wins over anything else on the line.
  for (std::size_t i = 1; i < argomenti.size() && argomenti[i] != "--"; ++i)
    if (argomenti[i] == "--help" || argomenti[i] == "-h") {
      r.aiuto_su = r.cosa;
      r.cosa = azione::aiuto;
      return true;
    }

  const std::string nome(c->nome);
  std::vector<std::string> posizionali;
  bool solo_posizionali = false;
  for (std::size_t i = 1; i < argomenti.size(); ++i) {
    const std::string& a = argomenti[i];
    if (solo_posizionali || a == "-" || a.empty() || a[0] != '-') {
      posizionali.push_back(a);
      continue;
    }
    if (a == "--") {
      solo_posizionali = true;
      continue;
    }
    // An option of the command: "--opt", "--opt VALUE" or "--opt=VALUE".
    const opzione* trovata = nullptr;
    std::string valore;
    for (const uso_opzione& u : c->opzioni) {
      const opzione& o = *u.o;
      if (a == o.nome) {
        trovata = &o;
        if (!o.valore.empty()) {
          if (i + 1 >= argomenti.size()) {
            errore = "option " + std::string(o.nome) + " needs a value";
            return false;
          }
          valore = argomenti[++i];
        }
        break;
      }
      if (!o.valore.empty() && a.size() > o.nome.size() && a.compare(0, o.nome.size(), o.nome) == 0 &&
          a[o.nome.size()] == '=') {
        trovata = &o;
        valore = a.substr(o.nome.size() + 1);
        break;
      }
    }
    if (trovata != nullptr) {
      if (!trovata->leggi(r, valore, errore)) return false;
      continue;
    }
    if (c->modello && leggi_opzione_marcia(argomenti, i, r.marcia, errore)) {
      if (!errore.empty()) return false;
      if (a.rfind("--margin", 0) == 0) r.margine_dato = true;
      continue;
    }
    errore = "unknown option '" + a + "' for " + nome + "; try 'scenario " + nome + " --help'";
    return false;
  }
  if (!opzioni_marcia_coerenti(r.marcia, errore)) return false;
  if (r.margine_dato && r.margine_minimo_dato) {
    errore = "give --margin or --min-margin, not both (--min-margin P is --margin P%)";
    return false;
  }
  return c->concludi == nullptr || c->concludi(r, posizionali, errore);
}

// ---- The help texts --------------------------------------------------------

std::string avvolto(std::string_view testo, std::size_t primo, std::size_t rientro, std::size_t larghezza) {
  std::string out(primo, ' ');
  std::size_t colonna = primo;
  bool inizio_riga = true;
  std::size_t da = 0;
  while (da < testo.size()) {
    if (testo[da] == ' ') {
      ++da;
      continue;
    }
    std::size_t fine = testo.find(' ', da);
    if (fine == std::string_view::npos) fine = testo.size();
    const std::string_view parola = testo.substr(da, fine - da);
    if (!inizio_riga && colonna + 1 + parola.size() > larghezza) {
      out += "\n" + std::string(rientro, ' ');
      colonna = rientro;
      inizio_riga = true;
    }
    if (!inizio_riga) {
      out += ' ';
      ++colonna;
    }
    out += parola;
    colonna += parola.size();
    inizio_riga = false;
    da = fine;
  }
  return out + "\n";
}

std::string uso_comando(const comando& c) {
  const std::string testa = "usage: scenario " + std::string(c.nome) + " ";
  std::vector<std::string> pezzi;
  if (!c.argomenti.empty()) pezzi.push_back(std::string(c.argomenti));
  for (std::size_t i = 0; i < c.opzioni.size(); ++i) {
    std::string p = "[" + nella_sinossi(*c.opzioni[i].o);
    while (i + 1 < c.opzioni.size() && c.opzioni[i + 1].alternativa) p += " | " + nella_sinossi(*c.opzioni[++i].o);
    pezzi.push_back(p + "]");
  }
  if (c.modello) pezzi.push_back("[model options]");
  std::string out = testa;
  std::size_t colonna = testa.size();
  bool primo = true;
  for (const std::string& p : pezzi) {
    if (!primo && colonna + 1 + p.size() > 80) {
      out += "\n" + std::string(testa.size(), ' ');
      colonna = testa.size();
    } else if (!primo) {
      out += ' ';
      ++colonna;
    }
    out += p;
    colonna += p.size();
    primo = false;
  }
  return out + "\n";
}

std::string aiuto_comando(const comando& c) {
  std::string t = uso_comando(c) + "\n" + std::string(c.descrizione);
  if (!c.opzioni.empty()) {
    t += "\noptions:\n";
    for (const uso_opzione& u : c.opzioni)
      t += riga_opzione(u.o->nome, u.o->valore, u.aiuto.empty() ? u.o->aiuto : u.aiuto);
  }
  if (c.modello) t += "\n" + aiuto_opzioni_marcia();
  if (!c.uscita.empty()) t += "\n" + avvolto("exit status: " + std::string(c.uscita), 0, 0);
  return t;
}

std::string aiuto_generale() {
  std::string t =
      "usage: scenario COMMAND [options]\n"
      "\n"
      "Packs, checks and reads the scenarios of the train-driving simulator.\n"
      "\n"
      "commands:\n";
  for (const comando* c : elenco) {
    std::string testa = "  " + std::string(c->nome) + (c->argomenti.empty() ? "" : " " + std::string(c->argomenti));
    if (testa.size() + 2 > colonna_descrizione) {
      t += testa + "\n";
      testa.clear();
    }
    testa.resize(colonna_descrizione, ' ');
    t += testa + avvolto(c->sommario, colonna_descrizione, colonna_descrizione).substr(colonna_descrizione);
  }
  t += "\n";
  t += riga_opzione("--help", "", "this help; 'scenario COMMAND --help' for a command's");
  t += riga_opzione("--version", "", "the tool's version");
  t += "\n"
       "exit status:\n"
       "  0  done, no error\n"
       "  1  an error found: nothing packed, unless --force (or warnings, under\n"
       "     --warnings-as-errors or --strict); for timing, also a section that even\n"
       "     the fastest run cannot keep\n"
       "  2  usage error, or a file that cannot be read or written\n"
       "  3  refused by a packing check (error 1250 or 1251), nothing written\n"
       "\n"
       "The formats and every error code are described in docs/README.md.\n";
  return t;
}
