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
        return "belongs in the general section, before the first heading: here it is no row kind" +
               (c.fine_generale.empty() ? std::string()
                                        : " (the general section ended at line " + std::to_string(c.riga_fine_generale) +
                                              ", at " + citazione(c.fine_generale) + ")");
      if (riga_treno(m)) return "is a row of the train source: in the line source it is no row kind";
      break;
    case parte_sorgente::treno:
      if (riga_generale(m, m) || riga_corpo_linea(m, true))
        return "is a row of the line source: in the train source it is no row kind";
      break;
  }
  return {};
}

// A row of the other source, by the field's words: the train's in the line,
// the line's in the train.
bool riga_altra_sorgente(const campi_ignorati& c, std::string_view r, std::string_view m) {
  if (c.parte == parte_sorgente::treno) return riga_generale(r, m) || riga_generale(m, m) || riga_corpo_linea(m, true);
  return riga_treno(m);
}

// What the field before tells of a field left over, or nothing.
std::string accanto(const vicino_campo& v, std::string_view campo, bool e_numero) {
  switch (v.tipo) {
    case prima_del_campo::numero_e_virgola:
      if (!e_numero) break;
      return " (it follows " + citazione(v.campo) + " with a comma and no blank between: a decimal comma? Values "
             "are whole numbers, so " + citazione(v.campo + "," + std::string(campo)) + " is read as two)";
    case prima_del_campo::testo_e_virgola:
      return " (it follows the text " + citazione(v.campo) + " and a comma: a text ends at a comma, so it was cut "
             "there)";
    case prima_del_campo::numero_e_spazio:
      if (e_numero) break;
      return " (it follows the number " + citazione(v.campo) + " with a blank between: a unit? Values are written "
             "without units)";
    case prima_del_campo::valore_in_piu:
      if (!e_numero) break;
      return " (it follows " + citazione(v.campo) + ", the last value the row before reads: one value too many?)";
    case prima_del_campo::nome_numero:
      return " (it follows " + citazione(v.campo) + ", which was read as the row's name: one value too many "
             "before the name?)";
    case prima_del_campo::altro:
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
                    bool trattino, const vicino_campo& vicino_dato) {
  // The values of a row whose keyword was taken as a name follow that name:
  // they are told as such, not as a text cut at a comma.
  const vicino_campo prima = c.nota_prossima.empty() ? vicino_dato : vicino_campo{};
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
    const std::string perche = accanto(prima, campo, true);
    if (c.aperto && perche.empty()) ++c.altri;
    else apri(f, c, campo, riga, colonna, "is a value that no row reads" + perche, {}, true);
    return;
  }
  // A field that begins with a hyphen is a note: the parsers pass it over by
  // design (the general section is not even ended by one holding a heading).
  if (campo[0] == '-') {
    campo_letto(f, c);
    return;
  }
  const std::string m = minuscole(campo);
  if (riga_altra_sorgente(c, campo, m)) {
    if (c.altre_righe++ == 0) c.prima_altra.assign(campo), c.riga_altra = riga, c.colonna_altra = colonna;
  }
  std::string perche = ragione(c, campo, m, trattino);
  // A general row in the wrong case: the nearest keyword is the field itself in lower case.
  std::string vicina = c.parte == parte_sorgente::generale_linea && !trattino && riga_generale(m, m)
                           ? m
                           : std::string(parola_vicina(campo, parole_di(c.parte)));
  // A field with something to say of its own starts a run; any other joins
  // the open one as one of its values.
  const std::string vicino = accanto(prima, campo, false);
  if (perche.empty() && vicina.empty() && vicino.empty() && c.aperto) {
    ++c.altri;
    return;
  }
  if (perche.empty()) perche = "is no row kind";
  apri(f, c, campo, riga, colonna, std::move(perche) + vicino, std::move(vicina), false);
  // A general row after a field in brackets that is no body heading: that
  // field, a comment without its hyphen, ended the general section. Told
  // once, at it.
  if (c.parte == parte_sorgente::corpo_linea && !trattino && riga_generale(m, m) && !c.fine_generale.empty() &&
      !c.fine_generale_consueta && !c.fine_generale_detta) {
    c.fine_generale_detta = true;
    avviso_registrato& a = registra_avviso(
        f.registro, avviso_generale_chiusa,
        citazione(c.fine_generale) + " ended the general section: there a field in brackets is the first heading "
        "unless it starts with a hyphen, so the general rows after it, from " + citazione(campo) + " at line " +
        std::to_string(riga) + " on, are lost. Write a comment of the general section as " + citazione("-" + c.fine_generale));
    a.file = f.sorgente_file;
    a.riga = c.riga_fine_generale;
    a.colonna = c.colonna_fine_generale;
  }
}

void commento_letto(compilazione& f, std::string_view campo, std::string_view riga, int32_t riga_campo,
                    int32_t colonna) {
  avviso_registrato& a = registra_avviso(
      f.registro, avviso_commento_parola,
      citazione(campo) + " is written as a comment, in brackets, yet it holds the keyword of a " + citazione(riga) +
          " row: it is read as that row, which takes the fields after it as its values. Write the comment "
          "without that word");
  a.file = f.sorgente_file;
  a.riga = riga_campo;
  a.colonna = colonna;
}

bool intestazione_consueta(std::string_view campo) {
  static constexpr std::string_view consuete[] = {"curve", "pendenze", "montagne", "cartelli", "indicazioni", "fine"};
  std::string t;
  for (const char ch : minuscole(campo))
    if (ch != ' ' && ch != '\t') t += ch;
  for (const std::string_view c : consuete)
    if (t == "[" + std::string(c) + "]") return true;
  return false;
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
