// Quick fixes, only where the fix is certain: the keyword the compiler
// itself suggests for a misspelt one; the hyphen that a comment of the line
// source's general section lacks, when without it the comment has ended the
// section and the general rows after it are lost.
#include <algorithm>

#include "compiler/codici_avviso.h"
#include "compiler/codici_errore.h"
#include "compiler/lettore_campi.h"
#include "compiler/parole_chiave.h"
#include "tools/lsp/servitore.h"

namespace {

bool sovrapposti(const intervallo_lsp& a, const intervallo_lsp& b) { return !(a.fine < b.inizio) && !(b.fine < a.inizio); }

json diagnostica_json(const diagnostica_lsp& d) {
  return {{"range", json_intervallo(d.intervallo)}, {"severity", d.gravita == gravita_reperto::errore ? 1 : d.gravita == gravita_reperto::avviso ? 2 : 3},
          {"code", d.codice}, {"source", "scenario"}, {"message", d.testo}};
}

json azione(const std::string& titolo, const diagnostica_lsp& d, const std::string& uri, json modifiche) {
  return {{"title", titolo},
          {"kind", "quickfix"},
          {"diagnostics", json::array({diagnostica_json(d)})},
          {"isPreferred", true},
          {"edit", {{"changes", {{uri, std::move(modifiche)}}}}}};
}

// The keyword a warning 301 suggests: "... Did you mean 'pendenza'?". None
// when the quotation had to write a byte out or cut the word.
std::string parola_suggerita(const std::string& testo) {
  constexpr std::string_view apre = "Did you mean '", chiude = "'?";
  const std::size_t a = testo.rfind(apre);
  if (a == std::string::npos || testo.size() < chiude.size() ||
      testo.compare(testo.size() - chiude.size(), chiude.size(), chiude) != 0)
    return {};
  const std::string parola = testo.substr(a + apre.size(), testo.size() - chiude.size() - a - apre.size());
  if (parola.empty() || parola.find('\\') != std::string::npos || parola.find('\'') != std::string::npos ||
      parola.ends_with("..."))
    return {};
  return parola;
}

// The comments of the line source's general section written without their
// hyphen: every field with both brackets after [generale] and before the
// first heading of the form [word]. None when the section was ended by such a
// heading: then the hyphen is not what is missing.
std::vector<campo_sorgente> commenti_senza_trattino(const vista_sorgente& v) {
  std::vector<campo_sorgente> commenti;
  const struttura_sorgente& s = v.struttura;
  if (s.treno || !s.con_generale || s.fine_generale.riga == 0 || forma_intestazione(s.fine_generale.testo))
    return commenti;
  lettore_campi l = apri_campi(v.compilatore);
  std::string campo;
  bool dopo_generale = false;
  while (!fine_campi(l)) {
    leggi_testo(l, campo);
    const bool generale = l.ultimo.riga == s.generale.riga && l.ultimo.colonna == s.generale.colonna;
    if (!dopo_generale) {
      dopo_generale = generale;
      continue;
    }
    if (forma_intestazione(campo)) break;
    if (intestazione(campo) && !contiene(campo, "-")) {
      campo_sorgente c;
      c.riga = l.ultimo.riga;
      c.colonna = l.ultimo.colonna;
      c.fine = c.colonna + static_cast<int32_t>(campo.size());
      commenti.push_back(c);
    }
  }
  return commenti;
}

}  // namespace

json correzioni(stato_servitore& s, const documento& d, const intervallo_lsp& i) {
  json azioni = json::array();
  const auto lista = s.diagnostiche.find(d.vista.uri);
  if (lista == s.diagnostiche.end()) return azioni;
  std::vector<campo_sorgente> commenti;
  bool commenti_cercati = false;
  for (const diagnostica_lsp& x : lista->second) {
    if (!sovrapposti(x.intervallo, i)) continue;
    if (x.codice == avviso_campo_ignorato) {
      if (const std::string parola = parola_suggerita(x.testo); !parola.empty())
        azioni.push_back(azione("Replace with '" + parola + "'", x, d.vista.uri,
                                json::array({{{"range", json_intervallo(x.intervallo)}, {"newText", parola}}})));
    }
    const bool generale_persa = x.codice == errore_lunghezza_mancante ||
                                (x.codice == avviso_campo_ignorato &&
                                 x.testo.find("belongs in the general section") != std::string::npos);
    if (!generale_persa) continue;
    if (!commenti_cercati) commenti = commenti_senza_trattino(d.vista), commenti_cercati = true;
    if (commenti.empty()) continue;
    json modifiche = json::array();
    for (const campo_sorgente& c : commenti) {
      const posizione_lsp p = posizione_compilatore(d.vista.testo, c.riga, c.colonna, s.codifica);
      modifiche.push_back({{"range", json_intervallo({p, p})}, {"newText", "-"}});
    }
    azioni.push_back(azione(commenti.size() == 1 ? "Write the general section's comment as -[ ... ]"
                                                 : "Write the general section's comments as -[ ... ]",
                            x, d.vista.uri, std::move(modifiche)));
  }
  return azioni;
}
