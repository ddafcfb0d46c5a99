#include "fuzz/banco_fuzz.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <vector>

#include "build/nomi_file.h"
#include "packer/decodifica.h"
#include "packer/file_imballati.h"
#include "packer/memorizza_percorso.h"
#include "sources/dati_linea.h"
#include "sources/scrivi_righe.h"
#include "tools/argomenti.h"
#include "tools/compila.h"
#include "tools/rapporto.h"

namespace fs = std::filesystem;

namespace {

// Made on first use, removed when the process ends normally (a crash leaves
// it for the post-mortem).
struct cartella_fuzz {
  fs::path percorso;
  cartella_fuzz() {
    std::string modello = (fs::temp_directory_path() / "fuzz-scenario-XXXXXX").string();
    if (::mkdtemp(modello.data()) == nullptr) std::abort();
    percorso = modello;
  }
  ~cartella_fuzz() {
    std::error_code ec;
    fs::remove_all(percorso, ec);
  }
};

const fs::path& cartella() {
  static cartella_fuzz c;
  return c.percorso;
}

// Line plans up to this many points (a 50 km route) are read back too.
constexpr std::size_t punti_riletti = 57001;

[[noreturn]] void guasto(const char* perche) {
  std::fprintf(stderr, "fuzz: %s\n", perche);
  std::abort();
}

void svuota(const fs::path& dir) {
  for (const fs::directory_entry& e : fs::directory_iterator(dir)) fs::remove_all(e.path());
}

// A packed file read back and packed again must give the very bytes written.
template <class Decodifica, class Ricodifica>
void rilegge(const fs::path& file, Decodifica decodifica, Ricodifica ricodifica) {
  const std::string byte = leggi_file(file);
  auto copia = std::make_unique<Form1>();
  std::string motivo;
  if (!decodifica(byte, *copia, motivo)) guasto("a packed file does not read back");
  if (ricodifica(*copia) != byte) guasto("a packed file does not read back to the bytes written");
}

}  // namespace

const std::string& linea_incorporata() {
  static const std::string testo = [] {
    Form1 f;
    f.nome_scenario = "F";
    f.numero_treno = "1";
    f.cartella = cartella();
    dati_linea(f);
    std::string t = leggi_file(file_linea_sorgente(f));
    svuota(cartella());
    return t;
  }();
  return testo;
}

void compila_sorgenti(std::string_view linea, std::optional<std::string_view> treno, int j) {
  const fs::path& dir = cartella();
  auto f = std::make_unique<Form1>();
  f->nome_scenario = "F";
  f->numero_treno = "1";
  f->cartella = dir;
  sostituisci_file(file_linea_sorgente(*f), linea);
  if (treno) sostituisci_file(file_treno_sorgente(*f), *treno);

  memorizza_percorso(*f, j);

  // The build keeps the last error; its log must end with that very code.
  const int32_t ultimo = f->errori.empty() ? 0 : f->errori.back().codice;
  if (f->codice_errore != ultimo) guasto("codice_errore disagrees with the last error recorded");

  // What the tool prints from this state.
  richiesta r;
  r.cosa = azione::check;
  r.linea = "F_linea.txt";
  r.treno = "F_1-.txt";
  std::ostringstream testo;
  scrivi_diagnostica(*f, r, testo);
  testo << esito_json(*f, r, {}).dump(2, ' ', false, nlohmann::json::error_handler_t::replace);

  // Packed files: all of them or none, and each reads back exactly.
  const bool imballato = fs::exists(file_percorso_imballato(*f));
  if (imballato != fs::exists(file_stazioni_imballate(*f)))
    guasto("the route grid and the station table were not packed together");
  if (imballato && (f->percorso.size() < 2 || f->errore_imballaggio != 0))
    guasto("packed files written for a build that packs nothing");
  if (imballato) {
    rilegge(file_percorso_imballato(*f),
            [](std::string_view b, Form1& c, std::string& m) { return decodifica_percorso(b, c.percorso, m); },
            codifica_percorso);
    rilegge(file_stazioni_imballate(*f),
            [](std::string_view b, Form1& c, std::string& m) { return decodifica_stazioni(b, c.tabella_stazioni, m); },
            codifica_stazioni);
    // The plan's layout is the same at any length; a long one would only slow the search.
    if (j != 0 && f->griglia_linea.punti <= static_cast<int64_t>(punti_riletti)) {
      const std::string byte = leggi_file(file_linea_imballata(*f));
      std::array<asse_linea, 2> punti;
      std::string motivo;
      if (!decodifica_linea(byte, punti, motivo)) guasto("a packed file does not read back");
      if (codifica_linea(punti) != byte) guasto("a packed file does not read back to the bytes written");
    }
  }

  // Only the build's own names may lie in the directory: no temporary file of a replace.
  const std::array<fs::path, 5> propri = {file_linea_sorgente(*f), file_treno_sorgente(*f),
                                           file_linea_imballata(*f), file_stazioni_imballate(*f),
                                           file_percorso_imballato(*f)};
  for (const fs::directory_entry& e : fs::directory_iterator(dir)) {
    bool proprio = false;
    for (const fs::path& p : propri) proprio = proprio || e.path() == p;
    if (!proprio) guasto("a stray file was left in the build's directory");
  }
  svuota(dir);
}
