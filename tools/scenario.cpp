#include "tools/scenario.h"

#include <exception>

#include "formato/file.h"
#include "tools/argomenti.h"
#include "tools/riferimento.h"
#include "tools/riga_di_comando.h"
#include "tools/verdetto.h"

int esegui_scenario(std::span<const std::string> argomenti, std::ostream& out, std::ostream& err,
                    bool err_terminale) {
  richiesta r;
  std::string errore;
  verdetto v;
  if (!leggi_argomenti(argomenti, r, errore)) {
    err << "scenario: " << errore << '\n';
    v.fallito = true;
    return stato_uscita(v, false);
  }
  if (r.cosa == azione::aiuto) {
    const comando* c = comando_di(r.aiuto_su);
    // The reference as it stands beside an installed tool, else the sources' docs/.
    out << con_riferimento(c != nullptr ? aiuto_comando(*c) : aiuto_generale(), cartella_riferimento());
    return stato_uscita(v, false);
  }
  if (r.cosa == azione::versione) {
    out << "scenario " << VERSIONE_SCENARIO << '\n';
    return stato_uscita(v, false);
  }
  const comando* c = comando_di(r.cosa);
  try {
    ambiente a{out, err, err_terminale};
    v = c->esegui(r, a);
  } catch (const std::exception& e) {
    // A file that cannot be read or written names itself and its reason.
    err << "scenario: " << e.what() << '\n';
    v.fallito = true;
  }
  // --strict fails on a warning as on an error.
  return stato_uscita(v, r.avvisi_come_errori || r.severo);
}
