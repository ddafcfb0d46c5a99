#include "tools/compila.h"

#include <string>

#include "formato/file.h"
#include "formato/nomi_file.h"
#include "packer/imballa.h"

namespace {

bool stesso_file(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec) && !ec;
}

}  // namespace

esito_comando compila_scenario(const richiesta& r) {
  // Read before anything is made: an unreadable source leaves nothing behind.
  const std::string linea = leggi_file(r.linea, byte_massimi_sorgente);
  const std::string treno = leggi_file(r.treno, byte_massimi_sorgente);

  const bool imballa = r.cosa == azione::pack;
  auto destinazione = [&](file_imballato quale) {
    return r.cartella_uscita / file_imballato_di(quale, r.nome_scenario, r.numero_treno);
  };
  if (imballa)
    for (const file_imballato quale : {file_imballato::linea, file_imballato::stazioni, file_imballato::percorso})
      if (stesso_file(destinazione(quale), r.linea) || stesso_file(destinazione(quale), r.treno))
        throw errore_file(destinazione(quale).lexically_normal(),
                          "is one of the sources given; it would be overwritten by a packed file");

  opzioni_compilazione o;
  o.nome_scenario = r.nome_scenario;
  o.numero_treno = r.numero_treno;
  o.piano_linea = !(imballa && r.senza_linea);
  o.marcia = r.marcia;
  o.margine_minimo_percento = r.margine_minimo_percento;
  const std::string etichetta_linea = r.linea.string(), etichetta_treno = r.treno.string();
  esito_comando esito;
  esito.c = compila({etichetta_linea, linea}, {etichetta_treno, treno}, o);
  const esito_compilazione& c = esito.c;
  if (!imballa || c.rifiuto) return esito;
  const bool errori = !c.registro.errori.empty() || c.registro.codice_errore != 0;
  if (r.severo && (errori || !c.registro.avvisi.empty())) {
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
  if (!da_imballare(c)) return esito;
  imballa_scenario(c.scenario, [&](file_imballato quale, const produttore& produci) {
    sostituisci_file(destinazione(quale), produci);
    esito.scritti.push_back(destinazione(quale).lexically_normal());
  });
  return esito;
}
