// scenario builtin: the packer's whole run of its built-in scenario, into a
// directory of the author's choosing rather than beside a program.
#include <string>

#include "documents/note.h"
#include "documents/rallentamenti.h"
#include "documents/scheda_treno.h"
#include "formato/file.h"
#include "formato/nomi_file.h"
#include "packer/imballa.h"
#include "porta/compila.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"
#include "tools/riga_di_comando.h"

namespace {

// Compiles the built-in scenario as the packer does and writes into
// r.cartella_uscita, made if missing, the packer's six files byte for byte:
// the three documents and the three packed files. With r.con_sorgenti the
// line and train sources come first; a source that exists is left alone and
// nothing is written, unless r.forza. Tells each file written on `out`.
verdetto esegui(const richiesta& r, ambiente& a) {
  namespace fs = std::filesystem;
  std::ostream& out = a.out;
  std::ostream& err = a.err;
  verdetto v;
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
        v.fallito = true;
        return v;
      }
    }

  // The packer's build, from memory: the same texts under the same names, the
  // line plan included. Nothing is written before it is whole.
  const std::string linea = dati_linea(), treno = dati_treno();
  opzioni_compilazione o;
  o.nome_scenario = nome;
  o.numero_treno = numero;
  o.da_utf8 = false;
  o.con_marcia = false;
  const esito_compilazione c = compila({file_linea, linea}, {file_treno, treno}, o);
  if (!da_imballare(c) || c.registro.codice_errore != 0) {
    err << "scenario: the built-in scenario does not build (error " << c.registro.codice_errore << ", packing error "
        << (c.rifiuto ? c.rifiuto->codice : 0) << "): nothing written\n";
    v.errori = 1;
    return v;
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
  imballa_scenario(c.scenario, [&](file_imballato quale, const produttore& produci) {
    scrivi(file_imballato_di(quale, nome, numero), produci);
  });
  return v;
}

const opzione sorgenti{"--sources", "",
                       "also write the line source and the train source that the files are built from, "
                       "Corvana_Telmisa_linea.txt and Corvana_Telmisa_739-.txt: a complete scenario to learn from",
                       accendi<&richiesta::con_sorgenti>};

constexpr uso_opzione opzioni[] = {
    {&opzione_uscita, "directory for the files (default: the current one; made if missing)"},
    {&sorgenti},
    {&opzione_forza, "replace sources of those names; without it a source that exists is left as it is and "
                     "nothing is written"},
};

bool concludi(richiesta& r, const std::vector<std::string>& posizionali, std::string& errore) {
  if (!posizionali.empty()) {
    errore = "builtin takes no file: its scenario is built in; try 'scenario builtin --help'";
    return false;
  }
  if (r.forza && !r.con_sorgenti) {
    errore = "option --force replaces the sources: give --sources too";
    return false;
  }
  return true;
}

}  // namespace

extern const comando comando_builtin{
    "builtin",
    azione::incorporato,
    "",
    "write the built-in scenario's documents and packed files into a directory, byte for byte as the packer "
    "writes them beside itself",
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
    "where it is installed: this is the way to its files in a directory of your own.\n",
    opzioni,
    false,
    "0 written; 2 usage error, a source that exists, or a file that cannot be written.",
    completa::niente,
    concludi,
    esegui,
};
