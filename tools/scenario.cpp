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
#include "tools/disegno/disegno.h"
#include "tools/opzioni_marcia.h"
#include "tools/orari.h"
#include "tools/rapporto.h"
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
    "  dump FILE         show what a packed file holds\n"
    "  plot DIR -o FILE.svg\n"
    "                    draw a packed scenario: track plan, profiles and the\n"
    "                    fastest run against the timetable\n"
    "  timing LINE TRAIN\n"
    "                    the same compile, then the fastest run against the\n"
    "                    timetable: the margin of every section between two stops\n"
    "\n"
    "  --help            this help; 'scenario COMMAND --help' for a command's\n"
    "  --version         the tool's version\n"
    "\n"
    "exit status:\n"
    "  0  done, no error recorded\n"
    "  1  packed (or checked), but the build recorded errors; for timing, also\n"
    "     a section that even the fastest run cannot keep\n"
    "  2  usage error, or a file that cannot be read or written\n"
    "  3  refused by a packing check (error 1250 or 1251), nothing written\n"
    "\n"
    "The formats and every error code are described in docs/README.md.\n";

constexpr const char* aiuto_pack =
    "usage: scenario pack LINE TRAIN [-o DIR] [--name NAME] [--train NUMBER]\n"
    "                     [--no-line-plan] [--json]\n"
    "\n"
    "Compiles LINE (a line source) and TRAIN (a train source) exactly as the packer\n"
    "compiles its own scenario and writes into DIR:\n"
    "  NAME_linea.dat     the line plan\n"
    "  NAME_NUMBER.sim    the station table\n"
    "  NAME_NUMBER.dat    the route grid\n"
    "Errors the build records do not stop it: each is reported on standard error as\n"
    "FILE:LINE:COLUMN: error CODE: DESCRIPTION (at POSITION m), and the files are\n"
    "written as the build leaves them (exit status 1). The source files are only read.\n"
    "\n"
    "options:\n"
    "  -o DIR           directory for the packed files (default: the current one)\n"
    "  --name NAME      scenario name (default: X, from a line source named X_linea.txt)\n"
    "  --train NUMBER   train number (default: N, from a train source named X_N-.txt)\n"
    "  --no-line-plan   build no line plan and write no NAME_linea.dat\n"
    "                   (curve rows are then not read at all)\n"
    "  --json           print one JSON object on standard output instead of the\n"
    "                   diagnostics: codice_errore, posizione_errore, errori, errore, files\n"
    "\n"
    "exit status: 0 packed, no error; 1 packed with errors; 2 usage or file error;\n"
    "3 refused by error 1250 or 1251, nothing written.\n";

constexpr const char* aiuto_check =
    "usage: scenario check LINE TRAIN [--name NAME] [--train NUMBER] [--json]\n"
    "\n"
    "Compiles LINE and TRAIN exactly as 'scenario pack' does, line plan included, and\n"
    "reports every error the build records; no packed file is written.\n"
    "\n"
    "options:\n"
    "  --name NAME      scenario name (default: X, from a line source named X_linea.txt)\n"
    "  --train NUMBER   train number (default: N, from a train source named X_N-.txt)\n"
    "  --json           print one JSON object on standard output instead of the\n"
    "                   diagnostics: codice_errore, posizione_errore, errori, errore, files\n"
    "\n"
    "exit status: 0 no error; 1 errors recorded; 2 usage or file error;\n"
    "3 refused by error 1250 or 1251.\n";

constexpr const char* aiuto_dump =
    "usage: scenario dump FILE [--kind grid|stations|plan] [--json | --csv] [--all]\n"
    "\n"
    "Shows what a packed file holds, every field by name:\n"
    "  grid      the route grid (X_N.dat): each cell's index, its position in metres\n"
    "            and its fields\n"
    "  stations  the station table (X_N.sim): each slot and its fields\n"
    "  plan      the line plan (X_linea.dat): each metre's x and y and their tags\n"
    "The kind comes from the file's name unless --kind is given. A file whose length\n"
    "does not fit its kind is refused (exit status 2).\n"
    "\n"
    "options:\n"
    "  --kind KIND   read FILE as grid, stations or plan\n"
    "  --json        one JSON object instead of text columns\n"
    "  --csv         comma-separated values with a header row\n"
    "  --all         also the cells, slots and points whose fields are all empty\n";

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
        scarica_percorso(celle, r.forma, r.tutti, out);
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

int esegui_compilazione(const richiesta& r, std::ostream& out, std::ostream& err) {
  const esito_compilazione esito = compila_scenario(r);
  if (r.forma == formato::json)
    out << esito_json(*esito.f, esito.scritti).dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
        << '\n';
  else
    scrivi_diagnostica(*esito.f, err);
  return stato_uscita(*esito.f);
}

}  // namespace

int scenario(std::span<const std::string> argomenti, std::ostream& out, std::ostream& err) {
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
                            : r.aiuto_su == azione::timing ? aiuto_timing
                                                           : aiuto_generale;
        // Every command that compiles or draws takes the train model's options.
        const bool marcia = r.aiuto_su == azione::pack || r.aiuto_su == azione::check ||
                            r.aiuto_su == azione::plot || r.aiuto_su == azione::timing;
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
      case azione::pack:
      case azione::check:
        return esegui_compilazione(r, out, err);
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
