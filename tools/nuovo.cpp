#include "tools/nuovo.h"

#include <string>

#include "formato/file.h"
#include "formato/nomi_file.h"
#include "sources/scenario_nuovo.h"

int esegui_nuovo(const richiesta& r, std::ostream& out, std::ostream& err) {
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
        return 2;
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
  return 0;
}
