#include "tools/documenti_macchinista.h"

#include <string>

#include "analisi/marcia.h"
#include "documents/modelli_documenti.h"
#include "documents/orari_marcia.h"
#include "formato/file.h"
#include "formato/nomi_file.h"
#include "tools/rapporto.h"
#include "tools/verdetto.h"

namespace {

bool stesso_file(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec) && !ec;
}

}  // namespace

std::vector<std::filesystem::path> percorsi_documenti(const richiesta& r) {
  return {r.cartella_uscita / file_scheda_treno(r.nome_scenario, r.numero_treno),
          r.cartella_uscita / file_rallentamenti(r.nome_scenario, r.numero_treno),
          r.cartella_uscita / file_note(r.nome_scenario, r.numero_treno)};
}

void controlla_documenti(const richiesta& r) {
  for (const std::filesystem::path& p : percorsi_documenti(r))
    if (stesso_file(p, r.linea) || stesso_file(p, r.treno))
      throw errore_file(p.lexically_normal(), "is one of the sources given; it would be overwritten by a document");
}

void documenti_dopo_compilazione(const richiesta& r, esito_comando& esito, std::ostream& err) {
  const esito_compilazione& c = esito.c;
  const verdetto v = verdetto_di(c);
  if (v.rifiuto) return;  // refused: nothing is written, as the refusal says
  // A timetable taken from a scenario the compiler did not read as written
  // would look right and be wrong: no documents, unless asked for all the same.
  if (v.errori > 0 && !r.forza) {
    err << "scenario: errors found: no documents written (--force writes them all the same)\n";
    return;
  }
  if (!c.marcia) {
    err << "scenario: no route grid was built: no documents written\n";
    return;
  }
  const documenti_derivati d = documenti_da_marcia(c.scenario, *c.marcia, r.partenza_scheda, r.documenti);
  for (const avviso_documento& a : d.avvisi) {
    if (a.codice == 0) {
      err << "scenario: note: " << a.dove << ": " << a.testo << '\n';
      continue;
    }
    avviso_registrato x;
    x.codice = a.codice;
    x.testo = a.dove + ": " + a.testo;
    // At the row that wrote the text, where the author mends it.
    if (a.slot != 0) avviso_alla_riga(c.registro, c.scenario, x, riga_dello_slot(c.registro, a.slot));
    esito.c.registro.avvisi.push_back(std::move(x));
  }

  std::error_code ec;
  if (!std::filesystem::is_directory(r.cartella_uscita, ec)) {
    std::filesystem::create_directories(r.cartella_uscita, ec);
    if (ec) throw errore_file(r.cartella_uscita, "cannot create the directory: " + ec.message());
  }
  const std::vector<std::filesystem::path> percorsi = percorsi_documenti(r);
  const std::string testi[] = {testo_documento(impagina_scheda(d.scheda)),
                               testo_documento(impagina_rallentamenti(d.rallentamenti)),
                               testo_documento(impagina_note(d.note))};
  for (std::size_t i = 0; i < percorsi.size(); ++i) {
    sostituisci_file(percorsi[i], testi[i]);
    esito.scritti.push_back(percorsi[i].lexically_normal());
  }
}
