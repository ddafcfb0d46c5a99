#include "tools/incorporato.h"

#include <memory>
#include <string>
#include <vector>

#include "compiler/memorizza_dati.h"
#include "documents/note.h"
#include "documents/rallentamenti.h"
#include "documents/scheda_treno.h"
#include "formato/file.h"
#include "formato/nomi_file.h"
#include "packer/imballa.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"

const char* const aiuto_builtin =
    "usage: scenario builtin [-o DIR] [--sources [--force]]\n"
    "\n"
    "Writes into DIR, byte for byte, the six files that the packer writes beside\n"
    "itself: the built-in scenario (the line Corvana - Telmisa and train 739), the\n"
    "driver's three documents and the three packed files that the simulator loads.\n"
    "  Corvana_Telmisa_739_note.txt            the notes\n"
    "  Corvana_Telmisa_739_rallentamenti.txt   the slow-order form\n"
    "  Corvana_Telmisa_739_scheda_treno.txt    the train sheet\n"
    "  Corvana_Telmisa_linea.dat               the line plan\n"
    "  Corvana_Telmisa_739.sim                 the station table\n"
    "  Corvana_Telmisa_739.dat                 the route grid\n"
    "Each is replaced whole. The packer writes nowhere but beside itself, and never\n"
    "where it is installed: this is the way to its files in a directory of your own.\n"
    "\n"
    "options:\n"
    "  -o DIR      directory for the files (default: the current one; made if missing)\n"
    "  --sources   also write the line source and the train source that the files\n"
    "              are built from, Corvana_Telmisa_linea.txt and\n"
    "              Corvana_Telmisa_739-.txt: a complete scenario to learn from\n"
    "  --force     replace sources of those names; without it a source that exists\n"
    "              is left as it is and nothing is written\n"
    "\n"
    "exit status: 0 written; 2 usage error, a source that exists, or a file that\n"
    "cannot be written.\n";

int esegui_incorporato(const richiesta& r, std::ostream& out, std::ostream& err) {
  namespace fs = std::filesystem;
  const std::string nome(nome_scenario_incorporato), numero(numero_treno_incorporato);
  auto in_uscita = [&r](const std::string& file) { return (r.cartella_uscita / file).lexically_normal(); };
  const std::string file_linea = file_linea_sorgente(nome), file_treno = file_treno_sorgente(nome, numero);
  // Both are looked at before anything is written: an author's edited copy is
  // never replaced unasked.
  if (r.con_sorgenti && !r.forza)
    for (const std::string& file : {file_linea, file_treno}) {
      std::error_code ec;
      if (fs::exists(fs::symlink_status(in_uscita(file), ec))) {
        err << "scenario: " << in_uscita(file).string() << ": already exists; give --force to replace it\n";
        return 2;
      }
    }

  // The packer's build, from memory: the same texts under the same names, the
  // line plan included. Nothing is written before it is whole.
  const std::string linea = dati_linea(), treno = dati_treno();
  auto f = std::make_unique<Form1>();
  f->nome_scenario = nome;
  f->numero_treno = numero;
  memorizza_dati(*f, 1, {file_linea, linea}, {file_treno, treno});
  if (!completa_scenario(*f) || f->codice_errore != 0) {
    err << "scenario: the built-in scenario does not build (error " << f->codice_errore << ", packing error "
        << f->errore_imballaggio << "): nothing written\n";
    return 1;
  }

  std::error_code ec;
  if (!fs::is_directory(r.cartella_uscita, ec)) {
    fs::create_directories(r.cartella_uscita, ec);
    if (ec) throw errore_file(r.cartella_uscita, "cannot create the directory: " + ec.message());
  }
  auto scrivi = [&](const std::string& file, const auto& contenuto) {
    sostituisci_file(in_uscita(file), contenuto);
    out << "wrote " << in_uscita(file).string() << '\n';
  };
  if (r.con_sorgenti) {
    scrivi(file_linea, linea);
    scrivi(file_treno, treno);
  }
  // In the packer's order: the documents, then the packed files.
  scrivi(file_note(nome, numero), dati_note());
  scrivi(file_rallentamenti(nome, numero), dati_rallentamenti());
  scrivi(file_scheda_treno(nome, numero), dati_scheda());
  imballa_scenario(*f, [&](file_imballato quale, const produttore& produci) {
    scrivi(file_imballato_di(quale, nome, numero), produci);
  });
  return 0;
}
