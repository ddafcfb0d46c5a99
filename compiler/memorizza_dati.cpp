#include "compiler/memorizza_dati.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "build/nomi_file.h"
#include "compiler/codici_errore.h"
#include "compiler/fallimento_comune.h"
#include "compiler/parser_linea.h"
#include "compiler/parser_treno.h"

namespace {

namespace fs = std::filesystem;

// A source is read whole into memory and parsed from there; one that cannot
// be opened or read takes the common failure exit.
std::string leggi_file(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw fallimento_comune{};
  std::string testo((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw fallimento_comune{};
  return testo;
}

// False when the line half ended with its own error: the train half never runs.
bool compila(Form1& f, const fs::path& linea, const fs::path& treno) {
  f.tabella_stazioni[85].nome = f.nome_scenario;
  f.tabella_stazioni[86].nome = f.numero_treno;

  std::error_code ec;
  if (!fs::exists(linea, ec)) {
    registra_errore(f, errore_linea_mancante);
    return false;
  }
  f.sorgente_file = linea.filename().string();
  const std::string testo_linea = leggi_file(linea);
  const esito_linea esito = leggi_linea(f, testo_linea);
  if (!esito.prosegui) return false;

  // The train source is opened without a test that it exists.
  f.sorgente_file = treno.filename().string();
  f.sorgente_riga = 0;
  f.sorgente_colonna = 0;
  const std::string testo_treno = leggi_file(treno);
  leggi_treno(f, testo_treno, esito.prossimo_cartello);
  return true;
}

}  // namespace

void memorizza_dati(Form1& f) {
  const fs::path linea = file_linea_sorgente(f);
  const fs::path treno = file_treno_sorgente(f);
  bool treno_letto = true;
  try {
    treno_letto = compila(f, linea, treno);
  } catch (...) {
    // The common failure exit: a failed read or conversion, or no memory for
    // the grid. Nothing escapes the compiler. It deletes every source that is
    // still there, whichever half it left.
    registra_errore(f, errore_lettura);
  }
  // Each source was read whole into memory, so deleting it here is deleting
  // it when its half is done with it. The line source goes on every way out;
  // the train source only once its half has run: a line half ended by its own
  // error leaves the train source where its writer put it.
  std::error_code ec;
  fs::remove(linea, ec);
  if (treno_letto) fs::remove(treno, ec);

  // Errors recorded later (the approach pass) name no source location.
  f.sorgente_file.clear();
  f.sorgente_riga = 0;
  f.sorgente_colonna = 0;
}
