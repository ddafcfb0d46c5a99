// scenario new: a starter scenario written for an author to begin from.
#include <string>

#include "formato/file.h"
#include "formato/nomi_file.h"
#include "sources/scenario_nuovo.h"
#include "tools/riga_di_comando.h"

namespace {

// Writes the starter's line source NAME_linea.txt and train source
// NAME_NUMBER-.txt into r.cartella_uscita, made if missing. A file of either
// name that exists is left alone and nothing is written, unless r.forza.
verdetto esegui(const richiesta& r, ambiente& a) {
  std::ostream& out = a.out;
  std::ostream& err = a.err;
  verdetto v;
  namespace fs = std::filesystem;
  const fs::path linea = (r.cartella_uscita / file_linea_sorgente(r.nome_scenario)).lexically_normal();
  const fs::path treno =
      (r.cartella_uscita / file_treno_sorgente(r.nome_scenario, r.numero_treno)).lexically_normal();
  // Both are looked at before either is written: an author's file is never half replaced.
  if (!r.forza)
    for (const fs::path& p : {linea, treno}) {
      std::error_code ec;
      if (fs::exists(fs::symlink_status(p, ec))) {
        err << "scenario: " << p.string() << ": already exists; give --force to replace it\n";
        v.fallito = true;
        return v;
      }
    }
  std::error_code ec;
  if (!fs::is_directory(r.cartella_uscita, ec)) {
    fs::create_directories(r.cartella_uscita, ec);
    if (ec) throw errore_file(r.cartella_uscita, "cannot create the directory: " + ec.message());
  }
  sostituisci_file(linea, linea_nuova());
  sostituisci_file(treno, treno_nuovo());
  out << "wrote " << linea.string() << "\n"
      << "wrote " << treno.string() << "\n"
      << "next: scenario check " << linea.string() << ' ' << treno.string() << "\n";
  return v;
}

constexpr uso_opzione opzioni[] = {
    {&opzione_treno, "train number (default: 1)"},
    {&opzione_uscita, "directory for the two sources (default: the current one; made if missing)"},
    {&opzione_forza, "replace files of those names"},
};

bool concludi(richiesta& r, const std::vector<std::string>& posizionali, std::string& errore) {
  if (posizionali.size() != 1) {
    errore = "new takes the name of the scenario to begin; try 'scenario new --help'";
    return false;
  }
  r.nome_scenario = posizionali[0];
  if (r.numero_treno.empty()) r.numero_treno = numero_treno_nuovo;
  return nome_valido(r.nome_scenario, "scenario name", errore);
}

}  // namespace

extern const comando comando_new{
    "new",
    azione::nuovo,
    "NAME",
    "write a starter line and train source, every row commented, to begin a scenario from",
    "Writes a starter scenario to begin from: a 12 km line with curves, gradients,\n"
    "a tunnel and boards, and a train over it with four stations (three stops), a\n"
    "slow order and six signals. It packs with no error and no warning, the fastest\n"
    "run keeps its timetable, and every row is commented with what its values mean,\n"
    "with their units and ranges. It writes:\n"
    "  NAME_linea.txt     the line source\n"
    "  NAME_NUMBER-.txt   the train source\n"
    "A comment is a field of its own in square brackets, such as [ a note ], on a\n"
    "line of its own or after a row's last value and a comma; in the line source's\n"
    "general section it starts with a hyphen: -[ a note ] (see the reference on\n"
    "the line source). A file of either name that exists is left as it is and\n"
    "nothing is written, unless --force is given.\n",
    opzioni,
    false,
    "0 written; 2 usage error, a file that exists, or a file that cannot be written.",
    completa::niente,
    concludi,
    esegui,
};
