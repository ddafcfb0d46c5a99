#include "compiler/campi_ignorati.h"

#include <algorithm>

#include "compiler/codici_avviso.h"
#include "compiler/descrizioni.h"
#include "compiler/parole_chiave.h"

namespace {

// Fields longer than this are compared with no keyword: none is that long.
constexpr std::size_t lettere_confrontate = 64;

bool numero(std::string_view t) {
  std::size_t i = !t.empty() && t[0] == '-' ? 1 : 0;
  if (i == t.size()) return false;
  for (; i < t.size(); ++i)
    if (t[i] < '0' || t[i] > '9') return false;
  return true;
}

std::span<const std::string_view> parole_di(parte_sorgente p) {
  switch (p) {
    case parte_sorgente::generale_linea: return parole_generali();
    case parte_sorgente::corpo_linea: return parole_corpo_linea();
    case parte_sorgente::treno: return parole_treno();
  }
  return {};
}

bool riga_della_parte(const campi_ignorati& c, std::string_view r, std::string_view m) {
  switch (c.parte) {
    case parte_sorgente::generale_linea: return riga_generale(r, m);
    case parte_sorgente::corpo_linea: return riga_corpo_linea(m, c.con_curve);
    case parte_sorgente::treno: return riga_treno(m);
  }
  return false;
}

// Why a text field is no row here, when there is more to say than that it
// is none; empty otherwise.
std::string ragione(const campi_ignorati& c, std::string_view r, std::string_view m, bool trattino) {
  if (trattino && riga_della_parte(c, r, m))
    return "holds a hyphen, and a field with a hyphen is passed over untested, so its row is lost";
  if (trattino) return "holds a hyphen, and a field with a hyphen is passed over untested";
  switch (c.parte) {
    case parte_sorgente::generale_linea:
      if (riga_generale(m, m))
        return "is no row kind: the general section's keywords are matched letter case and all";
      if (riga_corpo_linea(m, true))
        return "is a row of the line's body: in the general section, before the first heading such as "
               "[curve], it is no row kind";
      if (riga_treno(m)) return "is a row of the train source: in the line source it is no row kind";
      break;
    case parte_sorgente::corpo_linea:
      if (riga_generale(m, m))
        return "belongs in the general section, before the first heading: here it is no row kind";
      if (riga_treno(m)) return "is a row of the train source: in the line source it is no row kind";
      break;
    case parte_sorgente::treno:
      if (riga_generale(m, m) || riga_corpo_linea(m, true))
        return "is a row of the line source: in the train source it is no row kind";
      break;
  }
  return {};
}

void racconta(compilazione& f, campi_ignorati& c) {
  if (!c.aperto) return;
  c.aperto = false;
  std::string t = citazione(c.primo) + " " + c.perche + "; skipped";
  if (c.altri > 0) {
    const std::string n = std::to_string(c.altri);
    if (c.valore) t += ", and " + n + " more after it";
    else t += c.altri == 1 ? ", and its value" : ", and its " + n + " values";
  }
  if (!c.nota.empty()) t += " (" + c.nota + ")";
  if (!c.vicina.empty()) t += ". Did you mean " + citazione(c.vicina) + "?";
  avviso_registrato& a = registra_avviso(f.registro, avviso_campo_ignorato, std::move(t));
  a.file = f.sorgente_file;
  a.riga = c.riga;
  a.colonna = c.colonna;
}

void apri(compilazione& f, campi_ignorati& c, std::string_view campo, int32_t riga, int32_t colonna, std::string perche,
          std::string vicina, bool valore) {
  racconta(f, c);
  c.aperto = true;
  c.primo.assign(campo);
  c.riga = riga;
  c.colonna = colonna;
  c.altri = 0;
  c.perche = std::move(perche);
  c.vicina = std::move(vicina);
  c.valore = valore;
  c.nota = std::move(c.nota_prossima);
  c.nota_prossima.clear();
}

}  // namespace

int distanza_parole(std::string_view a, std::string_view b) {
  // Three rows of the table are enough: a swap looks two back. Texts longer
  // than the rows hold are compared on their first letters only: no keyword
  // is that long.
  constexpr std::size_t massimo = lettere_confrontate + 1;
  a = a.substr(0, lettere_confrontate);
  b = b.substr(0, lettere_confrontate);
  const std::size_t n = b.size();
  int righe[3][massimo];
  int* due = righe[0];
  int* una = righe[1];
  int* ora = righe[2];
  for (std::size_t j = 0; j <= n; ++j) una[j] = static_cast<int>(j);
  for (std::size_t i = 1; i <= a.size(); ++i) {
    ora[0] = static_cast<int>(i);
    for (std::size_t j = 1; j <= n; ++j) {
      const int costo = a[i - 1] == b[j - 1] ? 0 : 1;
      ora[j] = std::min({una[j] + 1, ora[j - 1] + 1, una[j - 1] + costo});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) ora[j] = std::min(ora[j], due[j - 2] + 1);
    }
    int* prima = due;
    due = una;
    una = ora;
    ora = prima;
  }
  return una[n];
}

std::string_view parola_vicina(std::string_view campo, std::span<const std::string_view> parole) {
  if (campo.empty() || campo.size() > lettere_confrontate) return {};
  const std::string m = minuscole(campo);
  std::string_view migliore;
  int meglio = 0;
  auto prova = [&](std::string_view candidata, std::string_view parola) {
    const int soglia = candidata.size() > 6 ? 2 : 1;
    // The distance is at least the difference in length: most fields end here.
    const std::size_t lunghezze = m.size() > candidata.size() ? m.size() - candidata.size() : candidata.size() - m.size();
    if (lunghezze > static_cast<std::size_t>(soglia)) return;
    const int d = distanza_parole(m, candidata);
    if (d <= soglia && (migliore.empty() || d < meglio)) {
      migliore = parola;
      meglio = d;
    }
  };
  for (const std::string_view p : parole) {
    prova(p, p);
    // Each word of a keyword of several: "vettura" for "numero vetture".
    for (std::size_t i = 0; i < p.size();) {
      const std::size_t j = std::min(p.find(' ', i), p.size());
      if (j - i >= 5 && j - i < p.size()) prova(p.substr(i, j - i), p);
      i = j + 1;
    }
  }
  return migliore;
}

void campo_ignorato(compilazione& f, campi_ignorati& c, std::string_view campo, int32_t riga, int32_t colonna,
                    bool trattino) {
  if (intestazione(campo)) {
    campo_letto(f, c);
    return;
  }
  const bool e_numero = numero(campo);
  if (e_numero && c.valori_curva > 0) {
    --c.valori_curva;
    return;
  }
  c.valori_curva = 0;
  // An empty field (a comma with nothing after it) loses nothing: told only within a run.
  if (campo.empty()) {
    if (c.aperto) ++c.altri;
    return;
  }
  if (e_numero) {
    if (c.aperto) ++c.altri;
    else apri(f, c, campo, riga, colonna, "is a value that no row reads", {}, true);
    return;
  }
  // A field that begins with a hyphen is a note: the parsers pass it over by
  // design (the general section is not even ended by one holding a heading).
  if (campo[0] == '-') {
    campo_letto(f, c);
    return;
  }
  const std::string m = minuscole(campo);
  std::string perche = ragione(c, campo, m, trattino);
  // A general row in the wrong case: the nearest keyword is the field itself in lower case.
  std::string vicina = c.parte == parte_sorgente::generale_linea && !trattino && riga_generale(m, m)
                           ? m
                           : std::string(parola_vicina(campo, parole_di(c.parte)));
  // A field with something to say of its own starts a run; any other joins
  // the open one as one of its values.
  if (perche.empty() && vicina.empty() && c.aperto) {
    ++c.altri;
    return;
  }
  if (perche.empty()) perche = "is no row kind";
  apri(f, c, campo, riga, colonna, std::move(perche), std::move(vicina), false);
}

void campo_letto(compilazione& f, campi_ignorati& c) {
  racconta(f, c);
  c.valori_curva = 0;
  c.nota_prossima.clear();
}

void curva_senza_piano(compilazione& f, campi_ignorati& c) {
  campo_letto(f, c);
  c.valori_curva = 2;
}

void ultimo_campo(compilazione& f, campi_ignorati& c, std::string_view campo, int32_t riga, int32_t colonna) {
  const std::string m = minuscole(campo);
  if (campo.empty() || intestazione(campo) || !riga_della_parte(c, campo, m)) {
    campo_ignorato(f, c, campo, riga, colonna, false);
    campo_letto(f, c);
    return;
  }
  campo_letto(f, c);
  avviso_registrato& a = registra_avviso(
      f.registro, avviso_campo_ignorato,
      citazione(campo) + " is the last field of the file, and the last field is never read: the row is lost. "
                         "End the file with [fine]");
  a.file = f.sorgente_file;
  a.riga = riga;
  a.colonna = colonna;
}
