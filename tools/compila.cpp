#include "tools/compila.h"

#include <string>

#include "analisi/avvisi.h"
#include "compiler/memorizza_dati.h"
#include "formato/file.h"
#include "formato/nomi_file.h"
#include "packer/imballa.h"
#include "tools/testo_sorgenti.h"

namespace {

bool stesso_file(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec) && !ec;
}

}  // namespace

esito_compilazione compila_scenario(const richiesta& r) {
  esito_compilazione esito;
  esito.f = std::make_unique<Form1>();
  Form1& f = *esito.f;
  f.nome_scenario = r.nome_scenario;
  f.numero_treno = r.numero_treno;

  // Read before anything is made: an unreadable source leaves nothing behind.
  // Kept for the diagnostics, which show the lines they point at, as the
  // compiler reads them: made single-byte text below, one byte a character.
  esito.sorgenti.push_back({r.linea.string(), leggi_file(r.linea, byte_massimi_sorgente)});
  esito.sorgenti.push_back({r.treno.string(), leggi_file(r.treno, byte_massimi_sorgente)});
  std::string &linea = esito.sorgenti[0].testo, &treno = esito.sorgenti[1].testo;

  const bool imballa = r.cosa == azione::pack;
  auto destinazione = [&](file_imballato quale) {
    return r.cartella_uscita / file_imballato_di(quale, f.nome_scenario, f.numero_treno);
  };
  if (imballa)
    for (const file_imballato quale : {file_imballato::linea, file_imballato::stazioni, file_imballato::percorso})
      if (stesso_file(destinazione(quale), r.linea) || stesso_file(destinazione(quale), r.treno))
        throw errore_file(destinazione(quale).lexically_normal(),
                          "is one of the sources given; it would be overwritten by a packed file");

  // The packer's own stages: the same parsers, approach pass, checks, stamping and layouts.
  const std::string etichetta_linea = r.linea.string(), etichetta_treno = r.treno.string();
  // The packed files hold single-byte text: a UTF-8 source is made so first.
  std::vector<avviso_registrato> avvisi_testo = rendi_1252(linea, etichetta_linea);
  for (avviso_registrato& a : rendi_1252(treno, etichetta_treno)) avvisi_testo.push_back(std::move(a));
  memorizza_dati(f, imballa && r.senza_linea ? 0 : 1, {etichetta_linea, linea}, {etichetta_treno, treno});
  // They come first: they are about reading the sources.
  f.avvisi.insert(f.avvisi.begin(), avvisi_testo.begin(), avvisi_testo.end());
  const bool da_imballare = completa_scenario(f);
  esito.avvisi = f.avvisi;
  const std::vector<avviso_registrato> orario =
      avvisi_marcia(f, r.marcia, etichetta_treno);
  esito.avvisi.insert(esito.avvisi.end(), orario.begin(), orario.end());
  if (!imballa || f.errore_imballaggio != 0) return esito;
  const bool errori = !f.errori.empty() || f.codice_errore != 0;
  if (r.severo && (errori || !esito.avvisi.empty())) {
    esito.trattenuto = true;
    return esito;
  }

  // The directory is made for every pack that no check refused, also when
  // the compiler gave up before sizing the grid and nothing is packed.
  std::error_code ec;
  if (!std::filesystem::is_directory(r.cartella_uscita, ec)) {
    std::filesystem::create_directories(r.cartella_uscita, ec);
    if (ec) throw errore_file(r.cartella_uscita, "cannot create the directory: " + ec.message());
  }
  if (!da_imballare) return esito;
  imballa_scenario(f, [&](file_imballato quale, const produttore& produci) {
    sostituisci_file(destinazione(quale), produci);
    esito.scritti.push_back(destinazione(quale).lexically_normal());
  });
  return esito;
}
