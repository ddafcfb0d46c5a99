// Go to definition: from a diagnostic to the rows it names as its culprits;
// from a station's name, wherever it is written, to the row that lays it.
#include <algorithm>

#include "tools/lsp/servitore.h"

namespace {

json luogo(const posto_lsp& p) { return {{"uri", p.uri}, {"range", json_intervallo(p.intervallo)}}; }

bool dentro(const intervallo_lsp& i, posizione_lsp p) { return !(p < i.inizio) && !(i.fine < p); }

bool lettera(unsigned char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0x80; }

}  // namespace

json definizione(stato_servitore& s, const documento& d, posizione_lsp p) {
  json luoghi = json::array();
  if (const auto lista = s.diagnostiche.find(d.vista.uri); lista != s.diagnostiche.end())
    for (const diagnostica_lsp& x : lista->second)
      if (dentro(x.intervallo, p))
        for (const diagnostica_lsp::colpevole& c : x.colpevoli)
          // Findings at one place may name the same row: it is given once.
          if (const json l = luogo(c.posto); std::find(luoghi.begin(), luoghi.end(), l) == luoghi.end())
            luoghi.push_back(l);
  if (!luoghi.empty()) return luoghi;

  // A station's name under the cursor, as a word of its own on the line.
  const std::size_t r = static_cast<std::size_t>(std::clamp<int64_t>(p.riga, 0, static_cast<int64_t>(d.vista.testo.righe()) - 1));
  const std::string_view riga = d.vista.testo.riga(r);
  const std::size_t cursore = byte_di(d.vista.testo, p, s.codifica) - d.vista.testo.inizi[r];
  std::size_t migliore = 0;
  for (const vista_sorgente* t : famiglia_di(s, d).treni)
    for (const riga_sorgente& rs : t->struttura.righe) {
      if (rs.tipo != tipo_riga::stazione || rs.valori.size() != 17) continue;
      const std::string nome = testo_campo(*t, rs.valori[16]);
      if (nome.empty() || nome.size() < migliore) continue;
      for (std::size_t da = riga.find(nome); da != std::string_view::npos; da = riga.find(nome, da + 1)) {
        const std::size_t a = da + nome.size();
        const bool parola = (da == 0 || !lettera(static_cast<unsigned char>(riga[da - 1]))) &&
                            (a == riga.size() || !lettera(static_cast<unsigned char>(riga[a])));
        if (!parola || cursore < da || cursore > a) continue;
        if (nome.size() > migliore) luoghi = json::array();
        migliore = nome.size();
        const intervallo_lsp dove{intervallo_campo(*t, rs.parola, s.codifica).inizio,
                                  intervallo_campo(*t, rs.valori[16], s.codifica).fine};
        luoghi.push_back(luogo({t->uri, dove}));
        break;
      }
    }
  return luoghi;
}
