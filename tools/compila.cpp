#include "tools/compila.h"

#include <cstdio>
#include <string>

#include "formato/file.h"
#include "formato/nomi_file.h"
#include "packer/imballa.h"
#include "tools/verdetto.h"
#include "tools/documenti_macchinista.h"
#include "tools/rapporto.h"
#include "tools/riepilogo.h"
#include "formato/testo_1252.h"

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
  o.con_decisioni = r.cosa == azione::timing && r.forma != formato::csv;
  const std::string etichetta_linea = r.linea.string(), etichetta_treno = r.treno.string();
  esito_comando esito;
  esito.c = compila({etichetta_linea, linea}, {etichetta_treno, treno}, o);
  const esito_compilazione& c = esito.c;
  if (!imballa || c.rifiuto) return esito;
  // The packed files hold what the author wrote, or nothing is written: an
  // error found (the compiler's, or something written that would be dropped,
  // cut, rounded or replaced) withholds them, unless --force asks for what
  // the packer itself would write. --strict withholds them on a warning too.
  const verdetto v = verdetto_di(c);
  if ((v.errori > 0 && !r.forza) || (r.severo && (v.errori > 0 || v.avvisi > 0))) {
    esito.trattenuto = true;
    return esito;
  }

  // The directory is made for every pack that writes, also when the compiler
  // gave up before sizing the grid and nothing is packed.
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

namespace {

std::string quanti(std::size_t n, const char* cosa) {
  return std::to_string(n) + " " + cosa + (n == 1 ? "" : "s");
}

// What a pack that wrote packed: its scenario, train, route and files.
std::string imballato(const esito_comando& e) {
  const scenario& s = e.c.scenario;
  std::string t = "scenario: packed " + stampabile_da_1252(s.nome_scenario) + ", train " +
                  stampabile_da_1252(s.numero_treno) + ", route " +
                  lunghezza_percorso_testo(s.tabella_stazioni[slot_treno_percorso].valore2) + ":";
  for (std::size_t i = 0; i < e.scritti.size(); ++i) t += (i == 0 ? " " : ", ") + e.scritti[i].string();
  return t + "\n";
}

}  // namespace

verdetto esegui_compilazione(const richiesta& r, ambiente& a) {
  if (r.con_documenti) controlla_documenti(r);
  esito_comando esito = compila_scenario(r);
  // Withheld packed files withhold the documents with them.
  if (r.con_documenti && !esito.trattenuto) documenti_dopo_compilazione(r, esito, a.err);
  const verdetto v = verdetto_di(esito.c);
  if (r.forma == formato::json) {
    a.out << esito_json(esito).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    return v;
  }
  const bool con_sorgente =
      r.sorgente == righe_sorgente::sempre || (r.sorgente == righe_sorgente::se_terminale && a.err_terminale);
  scrivi_diagnostica(esito, con_sorgente, a.err);
  if (esito.trattenuto) {
    const bool per_avvisi = v.errori == 0;  // --strict, on warnings alone
    a.err << "scenario: nothing written: "
          << (per_avvisi ? quanti(v.avvisi, "warning") + " under --strict" : quanti(v.errori, "error")) << '\n';
  }
  if (a.err_terminale) {
    a.err << testo_riepilogo(riassumi(esito.c, v));
    if (r.cosa == azione::pack && !esito.scritti.empty()) a.err << imballato(esito);
  }
  return v;
}
