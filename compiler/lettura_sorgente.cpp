#include "compiler/lettura_sorgente.h"

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

template <typename T>
T numero(sorgente& s) {
  int64_t v = 0;
  const bool mancava = fine(s);
  const bool letto =
      leggi_numero(s.campi, std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), v);
  if (!mancava) segna(s);  // a faulty field is named too; a read past the end keeps the last one
  if (!letto) {
    if constexpr (sizeof(T) == 4) fallisce(s, mancava, "a whole number");
    const std::string larghezza = sizeof(T) == 1 ? "an 8-bit field" : "a 16-bit field";
    fallisce(s, mancava,
             "a whole number from " + std::to_string(static_cast<int64_t>(std::numeric_limits<T>::min())) + " to " +
                 std::to_string(static_cast<int64_t>(std::numeric_limits<T>::max())) + " (" + larghezza + ")");
  }
  ++s.valori_letti;
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

void lettura_fallita(sorgente& s, campi_ignorati& ignorati, fallimento_comune& e) {
  campo_letto(s.f, ignorati);
  if (e.nomina_riga && s.in_riga) e.dettaglio = riga_in_lettura(s) + ": " + e.dettaglio;
  e.nomina_riga = false;
  s.f.riga_in_posa = nessuna_riga;
}

void leggi_riga(sorgente& s) {
  // A keyword field: no row is being read.
  s.in_riga = false;
  leggi_testo(s, s.f.riga);
  s.parola = s.campi.ultimo;
}

void leggi_testo(sorgente& s, std::string& out) {
  if (!leggi_testo(s.campi, out)) fallisce(s, true, {});
  segna(s);
  ++s.valori_letti;
}

int32_t leggi_32(sorgente& s) { return numero<int32_t>(s); }
int16_t leggi_16(sorgente& s) { return numero<int16_t>(s); }
uint8_t leggi_8(sorgente& s) { return numero<uint8_t>(s); }
