// The command line of the authors' tool: what the author asked for.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "analisi/avvisi.h"
#include "analisi/marcia.h"
#include "documents/deriva_documenti.h"

enum class azione { nessuna, aiuto, versione, pack, check, dump, plot, docs, nuovo, timing, incorporato, lsp };
enum class formato { testo, json, csv };
enum class tipo_imballato { nessuno, percorso, stazioni, linea };
// Whether a diagnostic shows its source line and a caret: by default only
// when standard error is a terminal.
enum class righe_sorgente { se_terminale, sempre, mai };

struct richiesta {
  azione cosa = azione::nessuna;
  azione aiuto_su = azione::nessuna;  // --help after a command: that command's help

  // pack, check, docs, timing (new: NAME, --train, -o; builtin: -o)
  std::filesystem::path linea;
  std::filesystem::path treno;
  std::filesystem::path cartella_uscita = ".";
  std::string nome_scenario;  // empty until given or found from the file names
  std::string numero_treno;
  bool senza_linea = false;  // --no-line-plan
  // How the findings are told and weighed.
  bool avvisi_come_errori = false;  // --warnings-as-errors
  bool severo = false;              // pack --strict: nothing made after an error or a warning
  righe_sorgente sorgente = righe_sorgente::se_terminale;               // --source, --no-source

  // docs, and pack --docs: the driver's three documents
  bool con_documenti = false;
  std::string_view prima_opzione_documenti;  // the first of their options given, for telling pack it needs --docs
  opzioni_documenti documenti;              // --classification, --mass, --signature, --contact
  std::optional<int32_t> partenza_scheda;   // --departure, seconds of the day

  // dump
  std::filesystem::path file;
  tipo_imballato tipo = tipo_imballato::nessuno;  // from --kind, else from the name
  bool tutti = false;                             // --all
  bool solo_elementi = false;                     // --features: grid cells with a point feature or a mark

  // dump: a kind that contradicts the name; new, builtin: sources that exist;
  // pack and docs: write what the packer would write in spite of errors
  bool forza = false;                             // --force

  // builtin: the two sources kept beside what is built from them
  bool con_sorgenti = false;                      // --sources

  // plot: the directory of the packed files and the picture to write
  std::filesystem::path cartella_imballati;
  std::filesystem::path file_disegno;

  // The train model of the fastest run and the timetable's recovery margin,
  // where the author overrides them (--power, --braking, --dwell, --margin,
  // and --min-margin, the margin's per cent alone): for every command that times the run.
  opzioni_marcia marcia;
  // timing --csv: the run's speed profile instead of the table
  bool profilo = false;
  // --margin and --min-margin given: one or the other
  bool margine_dato = false;
  bool margine_minimo_dato = false;

  formato forma = formato::testo;
};

// Reads the arguments after the program's name into `r`, as the table of
// commands and options says (tools/riga_di_comando.h). Returns false with
// `errore` (one line, for the author) on a usage error. Names and numbers
// not given are found from the file names; the kind of a dumped file from its name.
bool leggi_argomenti(std::span<const std::string> argomenti, richiesta& r, std::string& errore);

// "X" from a line source named "X_linea.txt"; false when the name has another form.
bool nome_da_file(const std::filesystem::path& linea, std::string& nome);
// "739" from a train source named "X_739-.txt"; false when the name has another form.
bool numero_da_file(const std::filesystem::path& treno, std::string& numero);
// The scenarios packed in `cartella`: a name and a number for every station
// table "X_N.sim" found there (split at the last underscore), in name order.
// Throws `std::filesystem::filesystem_error` when the directory cannot be read.
std::vector<std::pair<std::string, std::string>> scenari_in_cartella(
    const std::filesystem::path& cartella);

// The kind of a packed file from its name's ending: "_linea.dat" the line plan,
// another ".dat" the route grid, ".sim" the station table.
tipo_imballato tipo_da_nome(const std::filesystem::path& file);
