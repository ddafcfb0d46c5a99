#include "impacchetta/fasi.h"

#include <string>

#include "documents/note.h"
#include "documents/rallentamenti.h"
#include "documents/scheda_treno.h"
#include "formato/file.h"
#include "formato/nomi_file.h"
#include "packer/imballa.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"

namespace fs = std::filesystem;

namespace {

// A source the build wrote, read back whole: its name is its label.
struct sorgente_riletta {
  std::string nome;
  std::string testo;
  stato_sorgente stato = stato_sorgente::letta;

  explicit sorgente_riletta(const fs::path& file) : nome(file.filename().string()) {
    std::error_code ec;
    if (!fs::exists(file, ec)) {
      stato = stato_sorgente::mancante;
      return;
    }
    try {
      testo = leggi_file(file);
    } catch (const errore_file&) {
      stato = stato_sorgente::illeggibile;  // the compiler's common failure exit
    }
  }
  testo_sorgente per_il_compilatore() const { return {nome, testo, stato}; }
};

}  // namespace

void nomina_scenario(Form1& f) {
  f.nome_scenario = nome_scenario_incorporato;
  f.numero_treno = numero_treno_incorporato;
}

void esegui_build(Form1& f, const fs::path& cartella) {
  const std::string& nome = f.nome_scenario;
  const std::string& treno = f.numero_treno;
  sostituisci_file(cartella / file_linea_sorgente(nome), dati_linea());
  sostituisci_file(cartella / file_treno_sorgente(nome, treno), dati_treno());
  sostituisci_file(cartella / file_note(nome, treno), dati_note());
  sostituisci_file(cartella / file_rallentamenti(nome, treno), dati_rallentamenti());
  sostituisci_file(cartella / file_scheda_treno(nome, treno), dati_scheda());
  memorizza_percorso(f, cartella, 1);
}

void memorizza_percorso(Form1& f, const fs::path& cartella, int32_t j) {
  const fs::path file_linea = cartella / file_linea_sorgente(f.nome_scenario);
  const fs::path file_treno = cartella / file_treno_sorgente(f.nome_scenario, f.numero_treno);
  const sorgente_riletta linea(file_linea);
  const sorgente_riletta treno(file_treno);
  // The program's sources are single-byte text already, and it times no run.
  opzioni_compilazione o;
  o.nome_scenario = f.nome_scenario;
  o.numero_treno = f.numero_treno;
  o.piano_linea = j != 0;
  o.da_utf8 = false;
  o.con_marcia = false;
  f.esito = compila(linea.per_il_compilatore(), treno.per_il_compilatore(), o);
  std::error_code ec;
  fs::remove(file_linea, ec);
  if (f.esito.treno_preso) fs::remove(file_treno, ec);

  if (!da_imballare(f.esito)) return;
  imballa_scenario(f.esito.scenario, [&f, &cartella](file_imballato quale, const produttore& produci) {
    sostituisci_file(cartella / file_imballato_di(quale, f.nome_scenario, f.numero_treno), produci);
  });
}
