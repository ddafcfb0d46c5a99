#include "compiler/lettura_sorgente.h"

#include <limits>

#include "compiler/fallimento_comune.h"

namespace {

void segna(sorgente& s) {
  s.f.sorgente_riga = s.campi.ultimo.riga;
  s.f.sorgente_colonna = s.campi.ultimo.colonna;
}

template <typename T>
T numero(sorgente& s) {
  int64_t v = 0;
  const bool letto =
      leggi_numero(s.campi, std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), v);
  segna(s);  // a faulty field is named too; a read past the end keeps the last one
  if (!letto) throw fallimento_comune{};
  return static_cast<T>(v);
}

}  // namespace

sorgente apri_sorgente(Form1& f, std::string_view testo) {
  f.sorgente_riga = 0;
  f.sorgente_colonna = 0;
  return sorgente{f, apri_campi(testo)};
}

void leggi_riga(sorgente& s) { leggi_testo(s, s.f.riga); }

void leggi_testo(sorgente& s, std::string& out) {
  if (!leggi_testo(s.campi, out)) throw fallimento_comune{};
  segna(s);
}

int32_t leggi_32(sorgente& s) { return numero<int32_t>(s); }
int16_t leggi_16(sorgente& s) { return numero<int16_t>(s); }
uint8_t leggi_8(sorgente& s) { return numero<uint8_t>(s); }

std::string minuscole(std::string_view testo) {
  std::string out(testo);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}
