// Completion: the row keywords of the section the cursor stands in and the
// section headings, at the start of a line; the stations of the line's
// trains where a station's name is written.
#include <algorithm>
#include <limits>

#include "compiler/catalogo_righe.h"
#include "compiler/lettore_campi.h"
#include "tools/lsp/servitore.h"

namespace {

// The protocol's kinds of completion item.
constexpr int voce_parola = 14;  // Keyword
constexpr int voce_sezione = 9;  // Module
constexpr int voce_nome = 12;    // Value

json voce(std::string_view etichetta, std::string_view significato, int tipo, const intervallo_lsp& dove,
          std::string_view ordine) {
  return {{"label", etichetta},
          {"kind", tipo},
          {"detail", significato},
          {"sortText", ordine},
          {"filterText", etichetta},
          {"textEdit", {{"range", json_intervallo(dove)}, {"newText", etichetta}}}};
}

bool spazio(char c) { return c == ' ' || c == '\t'; }

// Which value of a row the cursor stands in, the row's keyword beginning the
// line's text `prima` that runs to the cursor: counted as the compiler reads
// the fields. The cursor stands in the last field read when that reaches it
// (an empty one after a comma too), or when it is a text, which runs on
// blanks and all; after a number and a blank, in the next.
int valore_in_corso(std::string_view prima, const voce_riga& voce) {
  lettore_campi l = apri_campi(prima);
  std::string t;
  leggi_testo(l, t);  // the keyword
  int letti = 0;
  bool testo = false;
  std::size_t fine = 0;
  for (const voce_valore& x : voce.valori) {
    if (fine_campi(l)) break;
    int64_t n = 0;
    testo = x.lettura == lettura_valore::testo;
    if (testo) leggi_testo(l, t);
    else leggi_numero(l, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max(), n);
    fine = static_cast<std::size_t>(l.ultimo.colonna - 1) + l.testo_ultimo.size();
    ++letti;
  }
  return letti > 0 && (testo || fine >= prima.size()) ? letti - 1 : letti;
}

}  // namespace

json completamento(stato_servitore& s, const documento& d, posizione_lsp p) {
  const vista_sorgente& v = d.vista;
  json voci = json::array();
  const luogo_compilatore l = luogo_di(v.testo, p, s.codifica);
  const std::string_view riga = v.riga_compilatore(l.riga);
  const std::string_view prima = riga.substr(0, std::min<std::size_t>(riga.size(), static_cast<std::size_t>(l.colonna - 1)));
  const std::size_t primo = std::min(prima.find_first_not_of(" \t"), prima.size());
  const posizione_lsp cursore = posizione_compilatore(v.testo, l.riga, l.colonna, s.codifica);

  if (prima.find(',') == std::string_view::npos) {
    // The first field of the line: a keyword or a heading, replacing what is typed of it.
    const intervallo_lsp dove{posizione_compilatore(v.testo, l.riga, static_cast<int32_t>(primo) + 1, s.codifica),
                              cursore};
    sezione_riga sezione{};
    const bool letta = sezione_a(v.struttura, l.riga, l.colonna, sezione);
    const bool parentesi = primo < prima.size() && prima[primo] == '[';
    if (letta && !parentesi)
      for (const forma_parola& f : forme_sezione(sezione)) voci.push_back(voce(f.parola, f.significato, voce_parola, dove, "1"));
    for (const voce_intestazione& i : v.ruolo.treno ? intestazioni_treno() : intestazioni_linea())
      if ((i.intestazione == "[generale]") != letta)
        voci.push_back(voce(i.intestazione, i.significato, voce_sezione, dove, "2"));
    return voci;
  }

  // The name of a station: the names the line's trains give their stations.
  const std::string_view chiave = prima.substr(primo);
  const voce_riga& stazione = voce_di(tipo_riga::stazione);
  const auto riga_stazione = std::find_if(v.struttura.righe.begin(), v.struttura.righe.end(), [&](const riga_sorgente& r) {
    return r.tipo == tipo_riga::stazione && r.parola.riga == l.riga && r.parola.colonna == static_cast<int32_t>(primo) + 1;
  });
  if (!v.ruolo.treno || riga_stazione == v.struttura.righe.end()) return voci;
  if (valore_in_corso(chiave, stazione) != static_cast<int>(stazione.valori.size()) - 1) return voci;
  std::size_t inizio_nome = prima.size();
  while (inizio_nome > 0 && prima[inizio_nome - 1] != ',') --inizio_nome;
  while (inizio_nome < prima.size() && spazio(prima[inizio_nome])) ++inizio_nome;
  const intervallo_lsp dove{posizione_compilatore(v.testo, l.riga, static_cast<int32_t>(inizio_nome) + 1, s.codifica),
                            cursore};
  std::vector<std::string> nomi;
  for (const vista_sorgente* t : famiglia_di(s, d).treni)
    for (const riga_sorgente& r : t->struttura.righe)
      if (r.tipo == tipo_riga::stazione && r.valori.size() == stazione.valori.size() &&
          !(t == &v && r.parola.riga == l.riga)) {
        std::string nome = testo_campo(*t, r.valori.back());
        if (!nome.empty() && std::find(nomi.begin(), nomi.end(), nome) == nomi.end()) nomi.push_back(std::move(nome));
      }
  for (const std::string& nome : nomi) voci.push_back(voce(nome, "a station of this line's trains", voce_nome, dove, "1"));
  return voci;
}
