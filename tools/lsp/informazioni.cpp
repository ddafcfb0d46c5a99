// Hover: which row and value stand under the cursor, what the value means,
// its unit and range, what the packer makes of it and where the row stands
// on the route.
#include <algorithm>
#include <cstdio>

#include "compiler/catalogo_righe.h"
#include "tools/lsp/servitore.h"

namespace {

struct testo_informazioni {
  bool markdown = false;
  std::string testo;

  // A line of its own (a paragraph in Markdown).
  void riga(const std::string& r) {
    if (!testo.empty()) testo += markdown ? "\n\n" : "\n";
    testo += r;
  }
  std::string grassetto(std::string_view s) const { return markdown ? "**" + std::string(s) + "**" : std::string(s); }
  std::string codice(std::string_view s) const { return markdown ? "`" + std::string(s) + "`" : std::string(s); }
};

std::string nome_sezione(sezione_riga s) {
  switch (s) {
    case sezione_riga::generale_linea: return "line source, general section";
    case sezione_riga::corpo_linea: return "line source, body";
    case sezione_riga::treno: return "train source";
  }
  return {};
}

std::string chilometri(int64_t metri) {
  char b[64];
  std::snprintf(b, sizeof b, "km %.3f (%lld m)", static_cast<double>(metri) / 1000.0, static_cast<long long>(metri));
  return b;
}

std::string maiuscola(std::string s) {
  if (!s.empty() && s[0] >= 'a' && s[0] <= 'z') s[0] = static_cast<char>(s[0] - 'a' + 'A');
  return s;
}

// The row whose fields hold the compiler's place (riga, colonna), and which field: -1 the keyword.
const riga_sorgente* riga_a(const struttura_sorgente& s, int32_t riga, int32_t colonna, int& campo) {
  auto dopo = std::upper_bound(s.righe.begin(), s.righe.end(), std::pair{riga, colonna},
                               [](const std::pair<int32_t, int32_t>& p, const riga_sorgente& r) {
                                 return p.first < r.parola.riga || (p.first == r.parola.riga && p.second < r.parola.colonna);
                               });
  if (dopo == s.righe.begin()) return nullptr;
  const riga_sorgente& r = *(dopo - 1);
  if (r.parola.contiene(riga, colonna)) {
    campo = -1;
    return &r;
  }
  for (std::size_t i = 0; i < r.valori.size(); ++i)
    if (r.valori[i].contiene(riga, colonna)) {
      campo = static_cast<int>(i);
      return &r;
    }
  return nullptr;
}

std::string_view significato_intestazione(const struttura_sorgente& s, std::string_view campo) {
  for (const voce_intestazione& v : s.treno ? intestazioni_treno() : intestazioni_linea())
    if (v.intestazione == campo) return v.significato;
  return {};
}

}  // namespace

json informazioni(stato_servitore& s, const documento& d, posizione_lsp p) {
  const vista_sorgente& v = d.vista;
  const luogo_compilatore l = luogo_di(v.testo, p, s.codifica);
  testo_informazioni t{s.markdown, {}};
  const campo_sorgente* campo_trovato = nullptr;

  for (const campo_sorgente& c : v.struttura.intestazioni)
    if (c.contiene(l.riga, l.colonna)) {
      campo_trovato = &c;
      const std::string_view significato = significato_intestazione(v.struttura, c.testo);
      t.riga(t.grassetto(c.testo) + " — " + (v.struttura.treno ? "train source" : "line source") + " heading");
      if (!significato.empty()) t.riga(maiuscola(std::string(significato)) + ".");
      if (!v.struttura.treno && v.struttura.fine_generale.riga == c.riga &&
          v.struttura.fine_generale.colonna == c.colonna)
        t.riga("It ends the general section: the general rows are read before it.");
    }

  int indice = 0;
  const riga_sorgente* r = campo_trovato == nullptr ? riga_a(v.struttura, l.riga, l.colonna, indice) : nullptr;
  if (r != nullptr) {
    const voce_riga& voce = voce_di(r->tipo);
    campo_trovato = indice < 0 ? &r->parola : &r->valori[static_cast<std::size_t>(indice)];
    if (indice < 0) {
      t.riga(t.codice(voce.parola) + " — " + nome_sezione(voce.sezione));
      t.riga(maiuscola(std::string(voce.significato)) + ".");
      std::string valori;
      for (const voce_valore& x : voce.valori)
        valori += (valori.empty() ? "" : ", ") + std::string(x.nome) +
                  (x.unita.empty() ? "" : " (" + std::string(x.unita) + ")");
      t.riga("Values: " + valori + ".");
      t.riga("Recognised by " + std::string(voce.riconoscimento) + ".");
    } else {
      const voce_valore& x = voce.valori[static_cast<std::size_t>(indice)];
      const campo_sorgente& c = r->valori[static_cast<std::size_t>(indice)];
      t.riga(t.codice(voce.parola) + ", value " + std::to_string(indice + 1) + " of " +
             std::to_string(voce.valori.size()) + ": " + t.grassetto(x.nome) + " — " + nome_sezione(voce.sezione));
      t.riga(maiuscola(std::string(x.significato)) + ".");
      t.riga((x.unita.empty() ? std::string() : "Unit: " + std::string(x.unita) + ". ") + "Range: " +
             std::string(x.campo) + ".");
      if (x.lettura != lettura_valore::testo && !c.numero) {
        t.riga("Not a whole number: the compiler cannot read it (error 25).");
      } else {
        // The values read up to the first that is not a number.
        std::vector<int64_t> numeri;
        for (const campo_sorgente& n : r->valori) {
          if (!n.numero) break;
          numeri.push_back(n.valore);
        }
        std::string memorizzato = valore_memorizzato(r->tipo, indice, numeri);
        if (memorizzato.empty()) memorizzato = std::string(x.memorizzato);
        if (!memorizzato.empty()) t.riga("As packed: " + memorizzato + ".");
      }
    }
    if (r->con_posizione()) t.riga("The row stands at " + chilometri(r->posizione()) + " of the route.");
    // A row the last compile did not apply.
    if (const auto applicate = s.righe_applicate.find(d.vista.uri); applicate != s.righe_applicate.end()) {
      const bool applicata = std::any_of(applicate->second.begin(), applicate->second.end(), [&](const riga_compilata& a) {
        return a.riga == r->parola.riga && a.colonna == r->parola.colonna;
      });
      if (!applicata)
        t.riga("The compiler did not apply this row: it was refused, or an error ended the reading before it.");
    }
  }
  if (campo_trovato == nullptr) return nullptr;
  return {{"contents", {{"kind", s.markdown ? "markdown" : "plaintext"}, {"value", t.testo}}},
          {"range", json_intervallo(intervallo_campo(v, *campo_trovato, s.codifica))}};
}
