#include "compiler/descrizioni.h"

#include <cstdio>

#include "formato/testo_1252.h"

namespace {

constexpr std::size_t byte_citati = 60;

const riga_letta* riga_di(const registro& r, int32_t indice) {
  if (indice < 0 || static_cast<std::size_t>(indice) >= r.righe_lette.size()) return nullptr;
  return &r.righe_lette[static_cast<std::size_t>(indice)];
}

// The station whose slot a station row filled, by name.
std::string stazione_di(const scenario& s, const riga_letta& r) {
  if (r.valore < 0 || r.valore >= numero_slot) return {};
  return citazione(s.tabella_stazioni[static_cast<std::size_t>(r.valore)].nome);
}

}  // namespace

std::string citazione(std::string_view campo) {
  std::string out = "'";
  std::size_t i = 0;
  for (; i < campo.size() && i < byte_citati;) {
    const unsigned char c = static_cast<unsigned char>(campo[i]);
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
      ++i;
    } else if (uint32_t u = 0; const std::size_t n = c >= 0x80 ? sequenza_utf8(campo, i, u) : 0) {
      if (u < 0xA0) {
        // A control character of UTF-8 (U+0080 to U+009F): a terminal would act on it.
        char b[8];
        std::snprintf(b, sizeof b, "\\u%04X", static_cast<unsigned>(u));
        out += b;
      } else {
        out.append(campo.substr(i, n));
      }
      i += n;
    } else if (c >= 0xA0) {
      // A single-byte letter of the sources (the packed files' text): shown as
      // the character it stands for, in UTF-8.
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
      ++i;
    } else {
      char b[8];
      std::snprintf(b, sizeof b, "\\x%02X", c);
      out += b;
      ++i;
    }
  }
  if (i < campo.size()) out += "...";
  return out + "'";
}

std::string luogo_riga(const registro& r, int32_t indice) {
  const riga_letta* rl = riga_di(r, indice);
  if (rl == nullptr) return {};
  return (rl->nel_treno ? r.file_treno : r.file_linea) + ":" + std::to_string(rl->riga);
}

std::string nome_riga(const scenario& s, const registro& r, int32_t indice) {
  const riga_letta* rl = riga_di(r, indice);
  if (rl == nullptr) return "an unknown row";
  if (rl->tipo == tipo_riga::stazione) return "the station " + stazione_di(s, *rl) + " (" + luogo_riga(r, indice) + ")";
  return "the '" + std::string(parola_riga(rl->tipo)) + "' row at " + luogo_riga(r, indice);
}

origine_cella origine_di(const registro& r, int64_t c) {
  if (c < 0 || static_cast<std::size_t>(c) >= r.origini_celle.size()) return {};
  return r.origini_celle[static_cast<std::size_t>(c)];
}

std::string cosa_in_cella(const scenario& s, const registro& r, int64_t c, int32_t riga_in_posa) {
  if (c < 0 || static_cast<std::size_t>(c) >= s.percorso.size()) return "nothing";
  const cella_percorso& p = s.percorso[static_cast<std::size_t>(c)];
  if (tipo_libero(p.tipo)) return "nothing";
  const origine_cella o = origine_di(r, c);
  const std::string luogo = luogo_riga(r, o.elemento);
  if (o.da_approcci && !luogo.empty())
    return std::string("a speed-reduction point the approach pass laid for the ") +
           (riga_di(r, o.elemento)->tipo == tipo_riga::segnale ? "signal" : "slow order") + " from " + luogo;
  std::string cosa(descrizione_tipo(p.tipo));
  if (p.tipo == tipo_punto_stazione && p.dato1 >= 0 && p.dato1 < numero_slot)
    cosa += " of " + citazione(s.tabella_stazioni[static_cast<std::size_t>(p.dato1)].nome);
  if (o.elemento != nessuna_riga && o.elemento == riga_in_posa) return "this same row's " + cosa;
  if (luogo.empty()) return "a " + cosa;
  return "the " + cosa + " from " + luogo;
}

void colpevole_cella(const scenario& s, registro& r, int64_t c, int32_t riga_in_posa) {
  if (c < 0 || static_cast<std::size_t>(c) >= s.percorso.size()) return;
  if (tipo_libero(s.percorso[static_cast<std::size_t>(c)].tipo)) return;
  const int32_t riga = origine_di(r, c).elemento;
  if (riga != riga_in_posa) colpevole(r, riga);
}

std::string descrivi_cella(const scenario& s, const registro& r, int64_t c, int32_t riga_in_posa) {
  const std::string cella = "cell " + std::to_string(c);
  if (c < 0 || static_cast<std::size_t>(c) >= s.percorso.size()) return cella + " lies outside the route grid";
  if (tipo_libero(s.percorso[static_cast<std::size_t>(c)].tipo)) return cella + " is free";
  return cella + " holds " + cosa_in_cella(s, r, c, riga_in_posa);
}

std::string ora_testo(int64_t secondi) {
  const bool negativa = secondi < 0;
  const uint64_t s = negativa ? 0 - static_cast<uint64_t>(secondi) : static_cast<uint64_t>(secondi);
  char b[40];
  std::snprintf(b, sizeof b, "%s%llu:%02llu:%02llu", negativa ? "-" : "", static_cast<unsigned long long>(s / 3600),
                static_cast<unsigned long long>(s / 60 % 60), static_cast<unsigned long long>(s % 60));
  return b;
}

std::string oltre_griglia(const scenario& s, int32_t margine) {
  const int64_t n = static_cast<int64_t>(s.percorso.size()) - 1;
  return "the grid ends at cell " + std::to_string(n) + " (" +
         std::to_string(n * 50) + " m), so a position may be at most " + std::to_string(n * 50 - margine) + " m";
}
