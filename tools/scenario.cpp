#include "tools/scenario.h"

#include <array>
#include <exception>
#include <memory>
#include <vector>

#include "formato/file.h"
#include "formato/nomi_file.h"
#include "packer/decodifica.h"
#include "tools/argomenti.h"
#include "tools/compila.h"
#include "tools/nuovo.h"
#include "tools/disegno/disegno.h"
#include "tools/documenti_macchinista.h"
#include "tools/opzioni_marcia.h"
#include "tools/orari.h"
#include "tools/rapporto.h"
#include "tools/riepilogo.h"
#include "tools/scarica.h"

namespace {

constexpr const char* aiuto_generale =
    "usage: scenario COMMAND [options]\n"
    "\n"
    "Packs, checks and reads the scenarios of the train-driving simulator.\n"
    "\n"
    "commands:\n"
    "  pack LINE TRAIN   compile a line source and a train source and write the\n"
    "                    three packed files the simulator loads\n"
    "  check LINE TRAIN  the same compile, reporting every error; nothing is written\n"
    "  docs LINE TRAIN   the same compile, then the driver's three documents: the\n"
    "                    train sheet, the slow-order form and the notes\n"
    "  dump FILE         show what a packed file holds\n"
    "  plot DIR -o FILE.svg\n"
    "                    draw a packed scenario: track plan, profiles and the\n"
    "                    fastest run against the timetable\n"
    "  timing LINE TRAIN\n"
    "                    the same compile, then the fastest run against the\n"
    "                    timetable: the margin of every section between two stops\n"
    "  new NAME          write a starter line and train source, every row commented,\n"
    "                    to begin a scenario from\n"
    "\n"
    "  --help            this help; 'scenario COMMAND --help' for a command's\n"
    "  --version         the tool's version\n"
    "\n"
    "exit status:\n"
    "  0  done, no error recorded\n"
    "  1  packed (or checked), but the build recorded errors (or warnings, under\n"
    "     --warnings-as-errors or --strict); for timing, also a section that even\n"
    "     the fastest run cannot keep\n"
    "  2  usage error, or a file that cannot be read or written\n"
    "  3  refused by a packing check (error 1250 or 1251), nothing written\n"
    "\n"
    "The formats and every error code are described in docs/README.md.\n";

constexpr const char* aiuto_pack =
    "usage: scenario pack LINE TRAIN [-o DIR] [--name NAME] [--train NUMBER]\n"
    "                     [--no-line-plan] [--strict] [--warnings-as-errors]\n"
    "                     [--min-margin PERCENT] [--source | --no-source] [--json]\n"
    "                     [--docs [--classification TEXT] [--mass TONNES]\n"
    "                      [--departure HH:MM] [--signature TEXT] [--contact TEXT]]\n"
    "\n"
    "Compiles LINE (a line source) and TRAIN (a train source) exactly as the packer\n"
    "compiles its own scenario and writes into DIR:\n"
    "  NAME_linea.dat     the line plan\n"
    "  NAME_NUMBER.sim    the station table\n"
    "  NAME_NUMBER.dat    the route grid\n"
    "Errors the build records do not stop it: each is reported on standard error as\n"
    "FILE:LINE:COLUMN: error CODE: DESCRIPTION (at POSITION m), and the files are\n"
    "written as the build leaves them (exit status 1). Warnings follow, as\n"
    "FILE:LINE:COLUMN: warning CODE: TEXT: what compiles but is almost surely a\n"
    "mistake, and the sections of the timetable that the train cannot keep. On a\n"
    "terminal each is followed by its source line with a caret under the column,\n"
    "and a summary ends the report: the rows read of each kind, the route length,\n"
    "the stops. The source files are only read.\n"
    "\n"
    "options:\n"
    "  -o DIR           directory for the packed files (default: the current one)\n"
    "  --name NAME      scenario name (default: X, from a line source named X_linea.txt)\n"
    "  --train NUMBER   train number (default: N, from a train source named X_N-.txt)\n"
    "  --no-line-plan   build no line plan and write no NAME_linea.dat\n"
    "                   (curve rows are then not read at all)\n"
    "  --strict         write nothing, and make no directory, when the build records\n"
    "                   an error or a warning (exit status 1)\n"
    "  --warnings-as-errors\n"
    "                   exit with status 1 when there is a warning, as for an error\n"
    "  --min-margin PERCENT\n"
    "                   the recovery margin as PERCENT of the fastest run alone:\n"
    "                   --margin PERCENT% (see below; 0 turns warning 362 off)\n"
    "  --source         show each diagnostic's source line and a caret, also when\n"
    "                   standard error is not a terminal\n"
    "  --no-source      one line per diagnostic, also on a terminal\n"
    "  --json           print one JSON object on standard output instead of the\n"
    "                   diagnostics: codice_errore, posizione_errore, errori, avvisi,\n"
    "                   errore, dettaglio_errore, files, riepilogo\n"
    "  --docs           also write the driver's three documents into DIR, as\n"
    "                   'scenario docs' does, with its options; none when the build\n"
    "                   records errors\n"
    "\n"
    "exit status: 0 packed, no error; 1 packed with errors (or with warnings under\n"
    "--warnings-as-errors), or nothing written under --strict; 2 usage or file error;\n"
    "3 refused by error 1250 or 1251, nothing written.\n";

constexpr const char* aiuto_docs =
    "usage: scenario docs LINE TRAIN [-o DIR] [--name NAME] [--train NUMBER]\n"
    "                     [--classification TEXT] [--mass TONNES] [--departure HH:MM]\n"
    "                     [--signature TEXT] [--contact TEXT] [--warnings-as-errors]\n"
    "                     [--min-margin PERCENT] [--source | --no-source] [--json]\n"
    "\n"
    "Compiles LINE and TRAIN exactly as 'scenario check' does and writes into DIR the\n"
    "three documents the driver reads while running, in the forms of the built-in\n"
    "scenario's own (plain ASCII, CR LF lines), each replaced whole:\n"
    "  NAME_NUMBER_scheda_treno.txt   the train sheet: every station and reference\n"
    "                                 point, with the times of the timetable\n"
    "  NAME_NUMBER_rallentamenti.txt  the slow-order form\n"
    "  NAME_NUMBER_note.txt           the notes\n"
    "The sheet's times are the timetable's, with each section's margin over the\n"
    "fastest run spread over it; its top speed and the dwell at stops are the train\n"
    "model's, as 'scenario timing' works them out and takes them as options. A name\n"
    "cut to its cell, or written in plain letters, is reported as a warning. When\n"
    "the build records errors no document is written. A document is never written\n"
    "over a source.\n"
    "\n"
    "options:\n"
    "  -o DIR             directory for the documents (default: the current one)\n"
    "  --name NAME        scenario name (default: X, from a line source named X_linea.txt)\n"
    "  --train NUMBER     train number (default: N, from a train source named X_N-.txt)\n"
    "  --classification TEXT\n"
    "                     the train's classification in the sheet's heading\n"
    "                     (default: the placeholder xxx)\n"
    "  --mass TONNES      the train's mass in the sheet's heading (default: xxxT)\n"
    "  --departure HH:MM  the sheet's departure from the origin (default: the origin's\n"
    "                     time in TRAIN); when it differs, the notes tell the driver\n"
    "                     the train starts late (or early) by the difference\n"
    "  --signature TEXT   the notes' signature line (default: none)\n"
    "  --contact TEXT     the notes' contact line, in parentheses (default: none)\n"
    "  --warnings-as-errors, --min-margin PERCENT, --source, --no-source\n"
    "                     as for 'scenario check'\n"
    "  --json             print one JSON object on standard output instead of the\n"
    "                     diagnostics: codice_errore, posizione_errore, errori, avvisi,\n"
    "                     errore, dettaglio_errore, files, riepilogo\n"
    "\n"
    "exit status: 0 written, no error; 1 errors recorded, no document written (or\n"
    "warnings under --warnings-as-errors, the documents written);\n"
    "2 usage or file error, or a document that would overwrite a source;\n"
    "3 refused by error 1250 or 1251, nothing written.\n";

constexpr const char* aiuto_check =
    "usage: scenario check LINE TRAIN [--name NAME] [--train NUMBER]\n"
    "                      [--warnings-as-errors] [--min-margin PERCENT]\n"
    "                      [--source | --no-source] [--json]\n"
    "\n"
    "Compiles LINE and TRAIN exactly as 'scenario pack' does, line plan included, and\n"
    "reports every error the build records, then every warning: what compiles but\n"
    "is almost surely a mistake, and the sections of the timetable that the train\n"
    "cannot keep, or keeps only without its recovery margin. No packed file is\n"
    "written. On a terminal each diagnostic is followed by its source line with a\n"
    "caret under the column, and a summary ends the report: the rows read of each\n"
    "kind, the route length, the stops.\n"
    "\n"
    "options:\n"
    "  --name NAME      scenario name (default: X, from a line source named X_linea.txt)\n"
    "  --train NUMBER   train number (default: N, from a train source named X_N-.txt)\n"
    "  --warnings-as-errors\n"
    "                   exit with status 1 when there is a warning, as for an error\n"
    "  --min-margin PERCENT\n"
    "                   the recovery margin as PERCENT of the fastest run alone:\n"
    "                   --margin PERCENT% (see below; 0 turns warning 362 off)\n"
    "  --source         show each diagnostic's source line and a caret, also when\n"
    "                   standard error is not a terminal\n"
    "  --no-source      one line per diagnostic, also on a terminal\n"
    "  --json           print one JSON object on standard output instead of the\n"
    "                   diagnostics: codice_errore, posizione_errore, errori, avvisi,\n"
    "                   errore, dettaglio_errore, files, riepilogo\n"
    "\n"
    "exit status: 0 no error (warnings allowed); 1 errors recorded, or warnings\n"
    "under --warnings-as-errors; 2 usage or file error; 3 refused by error 1250\n"
    "or 1251.\n";

constexpr const char* aiuto_dump =
    "usage: scenario dump FILE [--kind grid|stations|plan [--force]] [--json | --csv]\n"
    "                     [--all | --features]\n"
    "\n"
    "Shows what a packed file holds, every field by name:\n"
    "  grid      the route grid (X_N.dat): each cell's index, its position in metres\n"
    "            and its fields\n"
    "  stations  the station table (X_N.sim): each slot and its fields\n"
    "  plan      the line plan (X_linea.dat): each metre's x and y and their tags\n"
    "The kind comes from the file's name unless --kind is given. A file whose length\n"
    "does not fit its kind is refused (exit status 2), and so is a kind that\n"
    "contradicts the file's name unless --force is given. The speed, gradient and\n"
    "adhesion fill every grid cell, so a grid shows every cell: --features shows the\n"
    "cells that carry a feature.\n"
    "\n"
    "options:\n"
    "  --kind KIND   read FILE as grid, stations or plan\n"
    "  --force       read FILE as KIND even when its name says another kind\n"
    "  --json        one JSON object instead of text columns\n"
    "  --csv         comma-separated values with a header row\n"
    "  --all         also the cells, slots and points whose fields are all empty\n"
    "  --features    a grid's cells that carry a point feature (a kind other than 0)\n"
    "                or an approach mark, and no other\n";

constexpr const char* aiuto_new =
    "usage: scenario new NAME [--train NUMBER] [-o DIR] [--force]\n"
    "\n"
    "Writes a starter scenario to begin from: a 12 km line with curves, gradients,\n"
    "a tunnel and boards, and a train over it with four stations (three stops), a\n"
    "slow order and six signals. It packs with no error and no warning, the fastest\n"
    "run keeps its timetable, and every row is commented with what its values mean,\n"
    "their units and ranges:\n"
    "  NAME_linea.txt     the line source\n"
    "  NAME_NUMBER-.txt   the train source\n"
    "A comment is a field of its own in square brackets, such as [ a note ], on a\n"
    "line of its own or after a row's last value and a comma; in the line source's\n"
    "general section it starts with a hyphen: -[ a note ] (docs/linea.md).\n"
    "A file of either name that exists is left as it is and nothing is written,\n"
    "unless --force is given.\n"
    "\n"
    "options:\n"
    "  --train NUMBER   train number (default: 1)\n"
    "  -o DIR           directory for the two sources (default: the current one;\n"
    "                   made if missing)\n"
    "  --force          replace files of those names\n"
    "\n"
    "exit status: 0 written; 2 usage error, a file that exists, or a file that\n"
    "cannot be written.\n";

constexpr const char* aiuto_plot =
    "usage: scenario plot DIR [--name NAME] [--train NUMBER] -o FILE.svg\n"
    "\n"
    "Reads the three packed files of a scenario in DIR, as the simulator reads them,\n"
    "and draws one SVG picture that a browser opens:\n"
    "  the track plan in true proportions, north up, with a scale bar, the start and\n"
    "  the end, the stations, the signals, the mountain spans and the kilometre boards;\n"
    "  below it, on one axis of route kilometres, the height worked out from the\n"
    "  gradients, the gradient, the line speed limit, the slow orders with their\n"
    "  speeds, the speed-reduction points and the stations;\n"
    "  the fastest run (as 'scenario timing' works it out): its speed over the\n"
    "  limits, and its time against distance beside the timetable's stops, each\n"
    "  section that cannot be kept shaded, in red, with the seconds it misses.\n"
    "Without NAME_linea.dat (packed with --no-line-plan) only the profiles are drawn.\n"
    "\n"
    "options:\n"
    "  -o FILE.svg      the picture to write (replaced whole)\n"
    "  --name NAME      scenario name (default: the one scenario X_N.sim in DIR)\n"
    "  --train NUMBER   train number (default: likewise)\n"
    "\n"
    "exit status: 0 drawn; 2 usage error, or a file that cannot be read or written\n"
    "or does not fit its kind.\n";

int esegui_dump(const richiesta& r, std::ostream& out, std::ostream& err) {
  const std::string byte = leggi_file(r.file, byte_massimi_imballato);
  std::string motivo;
  const char* nome_tipo = "";
  bool fatto = false;
  switch (r.tipo) {
    case tipo_imballato::percorso: {
      nome_tipo = "route grid";
      std::vector<cella_percorso> celle;
      if ((fatto = decodifica_percorso(byte, celle, motivo)))
        scarica_percorso(celle, r.forma, r.tutti, out, r.solo_elementi);
      break;
    }
    case tipo_imballato::stazioni: {
      nome_tipo = "station table";
      auto tabella = std::make_unique<std::array<record_stazione, numero_slot>>();
      if ((fatto = decodifica_stazioni(byte, *tabella, motivo)))
        scarica_stazioni(*tabella, r.forma, r.tutti, out);
      break;
    }
    case tipo_imballato::linea: {
      nome_tipo = "line plan";
      std::array<asse_linea, 2> griglia;
      if ((fatto = decodifica_linea(byte, griglia, motivo)))
        scarica_linea(griglia, r.forma, r.tutti, out);
      break;
    }
    case tipo_imballato::nessuno:
      break;
  }
  if (!fatto) {
    err << "scenario: " << r.file.string() << ": not a packed " << nome_tipo << ": " << motivo
        << '\n';
    return 2;
  }
  return 0;
}

// The scenario to draw: the one in the directory that fits the name and the
// number given. False, with the reason told on `err`, when there is none or more.
bool scegli_scenario(const richiesta& r, std::string& nome, std::string& numero, std::ostream& err) {
  nome = r.nome_scenario;
  numero = r.numero_treno;
  if (!nome.empty() && !numero.empty()) return true;
  std::vector<std::pair<std::string, std::string>> adatti;
  try {
    for (const auto& [n, t] : scenari_in_cartella(r.cartella_imballati))
      if ((nome.empty() || n == nome) && (numero.empty() || t == numero)) adatti.emplace_back(n, t);
  } catch (const std::filesystem::filesystem_error& e) {
    err << "scenario: " << r.cartella_imballati.string() << ": cannot read: " << e.code().message() << '\n';
    return false;
  }
  if (adatti.size() == 1) {
    nome = adatti[0].first;
    numero = adatti[0].second;
    return true;
  }
  err << "scenario: " << r.cartella_imballati.string() << ": ";
  if (adatti.empty()) {
    err << "no packed scenario (NAME_NUMBER.sim)";
    if (!nome.empty()) err << " named " << nome;
    if (!numero.empty()) err << " with train " << numero;
  } else {
    err << adatti.size() << " packed scenarios (";
    for (std::size_t i = 0; i < adatti.size(); ++i)
      err << (i ? ", " : "") << adatti[i].first << " train " << adatti[i].second;
    err << "); give --name and --train";
  }
  err << '\n';
  return false;
}

int esegui_plot(const richiesta& r, std::ostream& err) {
  std::string nome, numero;
  if (!scegli_scenario(r, nome, numero, err)) return 2;
  const std::filesystem::path dir = r.cartella_imballati;
  const std::filesystem::path percorso = dir / file_imballato_di(file_imballato::percorso, nome, numero),
                              stazioni = dir / file_imballato_di(file_imballato::stazioni, nome, numero),
                              linea = dir / file_imballato_di(file_imballato::linea, nome, numero);
  for (const auto& p : {percorso, stazioni, linea}) {
    std::error_code ec;
    if (std::filesystem::equivalent(p, r.file_disegno, ec) && !ec) {
      err << "scenario: " << r.file_disegno.string() << ": is a packed file of the scenario; "
          << "the picture is never written over it\n";
      return 2;
    }
  }
  auto s = std::make_unique<scenario_imballato>();
  s->nome_scenario = nome;
  s->numero_treno = numero;
  std::string motivo;
  if (!decodifica_percorso(leggi_file(percorso, byte_massimi_imballato), s->celle, motivo)) {
    err << "scenario: " << percorso.string() << ": not a packed route grid: " << motivo << '\n';
    return 2;
  }
  if (!decodifica_stazioni(leggi_file(stazioni, byte_massimi_imballato), s->tabella, motivo)) {
    err << "scenario: " << stazioni.string() << ": not a packed station table: " << motivo << '\n';
    return 2;
  }
  // A scenario packed without its line plan is drawn without the track plan.
  std::error_code ec;
  if (std::filesystem::exists(linea, ec) &&
      !decodifica_linea(leggi_file(linea, byte_massimi_imballato), s->griglia, motivo)) {
    err << "scenario: " << linea.string() << ": not a packed line plan: " << motivo << '\n';
    return 2;
  }
  sostituisci_file(r.file_disegno, disegna_scenario(*s, r.marcia));
  return 0;
}

int esegui_compilazione(const richiesta& r, bool err_terminale, std::ostream& out, std::ostream& err) {
  if (r.con_documenti) controlla_documenti(r);
  esito_compilazione esito = compila_scenario(r);
  // --strict withheld the packed files: the documents are withheld with them.
  if (r.con_documenti && !esito.trattenuto) documenti_dopo_compilazione(r, esito, err);
  if (r.forma == formato::json) {
    out << esito_json(esito).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  } else {
    const bool con_sorgente = r.sorgente == righe_sorgente::sempre ||
                              (r.sorgente == righe_sorgente::se_terminale && err_terminale);
    scrivi_diagnostica(esito, con_sorgente, err);
    if (esito.trattenuto) err << "scenario: --strict: nothing written\n";
    if (err_terminale) err << testo_riepilogo(riassumi(*esito.f, esito.avvisi.size()));
  }
  // --strict fails on a warning as on an error.
  return stato_uscita(esito, r.avvisi_come_errori || r.severo);
}

}  // namespace

int scenario(std::span<const std::string> argomenti, std::ostream& out, std::ostream& err,
             bool err_terminale) {
  richiesta r;
  std::string errore;
  if (!leggi_argomenti(argomenti, r, errore)) {
    err << "scenario: " << errore << '\n';
    return 2;
  }
  try {
    switch (r.cosa) {
      case azione::aiuto: {
        const char* aiuto = r.aiuto_su == azione::pack     ? aiuto_pack
                            : r.aiuto_su == azione::check  ? aiuto_check
                            : r.aiuto_su == azione::dump   ? aiuto_dump
                            : r.aiuto_su == azione::plot   ? aiuto_plot
                            : r.aiuto_su == azione::docs   ? aiuto_docs
                            : r.aiuto_su == azione::nuovo  ? aiuto_new
                            : r.aiuto_su == azione::timing ? aiuto_timing
                                                           : aiuto_generale;
        // Every command that compiles or draws takes the train model's options.
        const bool marcia = r.aiuto_su == azione::pack || r.aiuto_su == azione::check ||
                            r.aiuto_su == azione::docs || r.aiuto_su == azione::plot ||
                            r.aiuto_su == azione::timing;
        out << (marcia ? con_opzioni_marcia(aiuto) : std::string(aiuto));
        return 0;
      }
      case azione::versione:
        out << "scenario " << VERSIONE_SCENARIO << '\n';
        return 0;
      case azione::dump:
        return esegui_dump(r, out, err);
      case azione::plot:
        return esegui_plot(r, err);
      case azione::nuovo:
        return esegui_nuovo(r, out, err);
      case azione::pack:
      case azione::check:
      case azione::docs:
        return esegui_compilazione(r, err_terminale, out, err);
      case azione::timing:
        return esegui_timing(r, out, err);
      case azione::nessuna:
        break;
    }
  } catch (const errore_file& e) {
    err << "scenario: " << e.what() << '\n';
    return 2;
  } catch (const std::exception& e) {
    err << "scenario: " << e.what() << '\n';
    return 2;
  }
  return 2;
}
