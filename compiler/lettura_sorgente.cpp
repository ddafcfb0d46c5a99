#include "compiler/lettura_sorgente.h"

#include <algorithm>
#include <limits>

#include "compiler/descrizioni.h"
#include "compiler/fallimento_comune.h"

namespace {

void segna(sorgente& s) {
  s.f.sorgente_riga = s.campi.ultimo.riga;
  s.f.sorgente_colonna = s.campi.ultimo.colonna;
}

// "its kind (column 2)", or "a value" where the row names none.
std::string quale_valore(const sorgente& s) {
  const std::string_view nome = s.in_riga ? nome_valore(s.tipo, s.valori_letti) : std::string_view{};
  return nome.empty() ? "a value" : "its " + std::string(nome);
}

// A hint for a value found where a number was expected: the next row's
// keyword (a value missing), or a number inside the row's own keyword field
// (a comma missing after the keyword, which took the first value with it).
std::string indizio(const sorgente& s) {
  // A comment that holds a keyword is read as that row (error 309).
  if (s.in_riga && intestazione(s.f.riga))
    return " (the row's keyword field " + citazione(s.f.riga) +
           " is a comment in brackets that holds this row's keyword, and is read as the row: see warning 309)";
  if (s.in_riga && s.tipo != tipo_riga::ripetizione) {
    const std::string& chiave = s.f.riga;
    for (std::size_t i = 0; i + 1 < chiave.size(); ++i)
      if ((chiave[i] == ' ' || chiave[i] == '\t') && chiave[i + 1] >= '0' && chiave[i + 1] <= '9')
        return " (the keyword field " + citazione(chiave) + " holds a number: is a comma missing after the keyword?)";
  }
  const std::string trovato = minuscole(s.campi.testo_ultimo);
  const bool parola = s.nel_treno ? riga_treno(trovato)
                                  : riga_generale(s.campi.testo_ultimo, trovato) || riga_corpo_linea(trovato, true);
  if (parola) return " (a row's keyword: is a value missing from this row?)";
  return {};
}

// A read that failed: what was expected at that field and what was found.
[[noreturn]] void fallisce(sorgente& s, bool mancava, const std::string& atteso) {
  std::string d;
  if (mancava && s.in_riga)
    d = riga_in_lettura(s) + " is cut short by the end of the file: " + quale_valore(s) + " is missing";
  else if (mancava)
    d = "the file ends where one more field was expected";
  else
    d = (s.in_riga ? riga_in_lettura(s) + ": " : std::string()) + "expected " + quale_valore(s) + ", " + atteso +
        "; found " + citazione(s.campi.testo_ultimo) + indizio(s);
  throw fallimento_comune{std::move(d), false};
}

// A field written as a whole number: an optional minus sign, then digits.
bool intero_scritto(std::string_view t) {
  std::size_t i = !t.empty() && t[0] == '-' ? 1 : 0;
  if (i == t.size()) return false;
  for (; i < t.size(); ++i)
    if (t[i] < '0' || t[i] > '9') return false;
  return true;
}

template <typename T>
T numero(sorgente& s) {
  int64_t v = 0;
  const bool mancava = fine(s);
  const bool letto =
      leggi_numero(s.campi, std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), v);
  if (!mancava) segna(s);  // a faulty field is named too; a read past the end keeps the last one
  if (!letto) {
    // A whole number out of the field's range is told with the range.
    if constexpr (sizeof(T) == 4) {
      if (mancava || !intero_scritto(s.campi.testo_ultimo)) fallisce(s, mancava, "a whole number");
      fallisce(s, mancava, "a whole number from -2147483648 to 2147483647 (a 32-bit field)");
    }
    const std::string larghezza = sizeof(T) == 1 ? "an 8-bit field" : "a 16-bit field";
    fallisce(s, mancava,
             "a whole number from " + std::to_string(static_cast<int64_t>(std::numeric_limits<T>::min())) + " to " +
                 std::to_string(static_cast<int64_t>(std::numeric_limits<T>::max())) + " (" + larghezza + ")");
  }
  ++s.valori_letti;
  s.ultimo = sorgente::valore::numero;
  return static_cast<T>(v);
}

}  // namespace

sorgente apri_sorgente(compilazione& f, std::string_view testo) {
  f.sorgente_riga = 0;
  f.sorgente_colonna = 0;
  return sorgente{f, apri_campi(testo)};
}

void inizia_riga(sorgente& s, tipo_riga t) {
  s.in_riga = true;
  s.tipo = t;
  s.parola_riga = s.parola;
  s.valori_letti = 0;
  s.f.riga_in_posa = nessuna_riga;  // until the row is logged, the cells it meets are others'
}

int32_t annota_riga(sorgente& s, int32_t posizione, int32_t valore, int32_t lunghezza) {
  riga_letta r;
  r.tipo = s.tipo;
  r.nel_treno = s.nel_treno;
  r.riga = s.parola_riga.riga;
  r.colonna = s.parola_riga.colonna;
  r.posizione = posizione;
  r.valore = valore;
  r.lunghezza = lunghezza;
  s.f.registro.righe_lette.push_back(r);
  s.f.riga_in_posa = static_cast<int32_t>(s.f.registro.righe_lette.size()) - 1;
  return s.f.riga_in_posa;
}

void togli_riga(sorgente& s) {
  if (!s.f.registro.righe_lette.empty()) s.f.registro.righe_lette.pop_back();
  s.f.riga_in_posa = nessuna_riga;
}

std::string riga_in_lettura(const sorgente& s) {
  return "the '" + std::string(parola_riga(s.tipo)) + "' row at " + std::to_string(s.parola_riga.riga) + ":" +
         std::to_string(s.parola_riga.colonna);
}

std::string riga_nominata(const sorgente& s) {
  return "the '" + std::string(parola_riga(s.tipo)) + "' row at " + s.f.sorgente_file + ":" +
         std::to_string(s.parola_riga.riga);
}

vicino_campo vicino(const sorgente& s) {
  const std::string_view t = s.campi.testo;
  const std::size_t i = std::min(s.campi.inizio_ultimo, t.size());
  auto spazio = [](char c) { return c == ' ' || c == '\t'; };
  auto cifra = [](char c) { return c >= '0' && c <= '9'; };
  // The field before, back to the comma, the blank or the line start that opens it.
  auto campo_prima = [&](std::size_t fine, bool fino_a_spazio) {
    std::size_t inizio = fine;
    while (inizio > 0 && t[inizio - 1] != ',' && t[inizio - 1] != '\n' && t[inizio - 1] != '\r' &&
           !(fino_a_spazio && spazio(t[inizio - 1])))
      --inizio;
    std::size_t a = inizio;
    while (a < fine && spazio(t[a])) ++a;
    return std::string(t.substr(a, fine - a));
  };
  vicino_campo v;
  if (s.prima_della_parola == sorgente::valore::nessuno) return v;  // after a keyword: a run of its values
  std::size_t j = i;
  while (j > 0 && spazio(t[j - 1])) --j;
  const bool virgola = j >= 2 && t[j - 1] == ',' && !spazio(t[j - 2]) && t[j - 2] != '\n' && t[j - 2] != '\r';
  if (s.prima_della_parola == sorgente::valore::testo && virgola) {
    v.campo = campo_prima(j - 1, false);
    v.tipo = intero_scritto(v.campo) ? prima_del_campo::nome_numero : prima_del_campo::testo_e_virgola;
  } else if (s.prima_della_parola == sorgente::valore::numero && virgola && j == i && cifra(t[j - 2])) {
    v.campo = campo_prima(j - 1, false);
    v.tipo = prima_del_campo::numero_e_virgola;
  } else if (s.prima_della_parola == sorgente::valore::numero && j < i && j > 0 && cifra(t[j - 1])) {
    v.campo = campo_prima(j, true);
    v.tipo = prima_del_campo::numero_e_spazio;
  } else if (s.prima_della_parola == sorgente::valore::numero && virgola) {
    v.campo = campo_prima(j - 1, false);
    v.tipo = prima_del_campo::valore_in_piu;
  }
  return v;
}

void lettura_fallita(sorgente& s, campi_ignorati& ignorati, fallimento_comune& e) {
  campo_letto(s.f, ignorati);
  if (e.nomina_riga && s.in_riga) e.dettaglio = riga_in_lettura(s) + ": " + e.dettaglio;
  e.nomina_riga = false;
  s.f.riga_in_posa = nessuna_riga;
}

void leggi_riga(sorgente& s) {
  // A keyword field: no row is being read.
  s.in_riga = false;
  s.prima_della_parola = s.ultimo;
  leggi_testo(s, s.f.riga);
  s.parola = s.campi.ultimo;
  s.ultimo = sorgente::valore::nessuno;
}

void leggi_testo(sorgente& s, std::string& out) {
  if (!leggi_testo(s.campi, out)) fallisce(s, true, {});
  segna(s);
  ++s.valori_letti;
  s.ultimo = sorgente::valore::testo;
}

int32_t leggi_32(sorgente& s) { return numero<int32_t>(s); }
int16_t leggi_16(sorgente& s) { return numero<int16_t>(s); }
uint8_t leggi_8(sorgente& s) { return numero<uint8_t>(s); }
