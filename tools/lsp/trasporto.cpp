#include "tools/lsp/trasporto.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr std::size_t blocco_lettura = 64u << 10;

// The end of the header block that begins at `da`: the offset of its empty
// line's end, or npos. A block is ended by CR LF CR LF; a bare LF LF is
// taken too, from clients that write plain line ends.
std::size_t fine_intestazione(std::string_view dati, std::size_t da, std::size_t& corpo) {
  const std::size_t crlf = dati.find("\r\n\r\n", da);
  const std::size_t lf = dati.find("\n\n", da);
  if (crlf == std::string_view::npos && lf == std::string_view::npos) return std::string_view::npos;
  if (lf == std::string_view::npos || (crlf != std::string_view::npos && crlf < lf)) {
    corpo = crlf + 4;
    return crlf;
  }
  corpo = lf + 2;
  return lf;
}

char minuscola(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view senza_spazi(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// The Content-Length of a header block: false when it gives none that is a
// plain number. A number past the largest body is kept as one past it.
bool lunghezza_contenuto(std::string_view blocco, std::size_t& lunghezza) {
  for (std::size_t i = 0; i <= blocco.size();) {
    const std::size_t fine = std::min(blocco.find('\n', i), blocco.size());
    const std::string_view riga = blocco.substr(i, fine - i);
    i = fine + 1;
    const std::size_t due_punti = riga.find(':');
    if (due_punti == std::string_view::npos) continue;
    // Bytes before the name on its line (what was left of a broken message)
    // do not hide it.
    const std::string_view nome = senza_spazi(riga.substr(0, due_punti));
    constexpr std::string_view atteso = "content-length";
    if (nome.size() < atteso.size() || !std::equal(atteso.begin(), atteso.end(), nome.end() - atteso.size(),
                                                   [](char b, char a) { return minuscola(a) == b; }))
      continue;
    const std::string_view valore = senza_spazi(riga.substr(due_punti + 1));
    if (valore.empty()) return false;
    std::size_t n = 0;
    for (const char c : valore) {
      if (c < '0' || c > '9') return false;
      n = std::min(n * 10 + static_cast<std::size_t>(c - '0'), byte_massimi_messaggio + 1);
    }
    lunghezza = n;
    return true;
  }
  return false;
}

}  // namespace

bool lettore_messaggi::messaggio_pronto() const {
  std::size_t corpo = 0;
  const std::size_t fine = fine_intestazione(dati, inizio, corpo);
  if (fine == std::string::npos) return false;
  std::size_t lunghezza = 0;
  if (!lunghezza_contenuto(std::string_view(dati).substr(inizio, fine - inizio), lunghezza)) return true;
  return dati.size() - corpo >= lunghezza;
}

esito_lettura lettore_messaggi::prossimo(canale_lsp& c, std::string& corpo) {
  auto leggi_ancora = [&]() {
    // What was taken is dropped now and then, not at every message.
    if (inizio > blocco_lettura && inizio * 2 > dati.size()) {
      dati.erase(0, inizio);
      inizio = 0;
    }
    const std::size_t prima = dati.size();
    dati.resize(prima + blocco_lettura);
    const std::size_t letti = c.leggi(dati.data() + prima, blocco_lettura);
    dati.resize(prima + letti);
    return letti > 0;
  };

  std::size_t inizio_corpo = 0, fine = std::string::npos;
  // Bytes searched already are not searched again as more arrive, but for
  // the three that may begin the block's end.
  std::size_t da = inizio;
  while ((fine = fine_intestazione(dati, da, inizio_corpo)) == std::string::npos) {
    // Bytes that end no header block in reasonable room are no header: keep
    // only what could begin the block's end.
    if (dati.size() - inizio > byte_massimi_intestazione) inizio = dati.size() - 3;
    const std::size_t cercati = dati.size() - inizio;
    if (!leggi_ancora()) return esito_lettura::fine;
    da = inizio + (cercati > 3 ? cercati - 3 : 0);
  }
  std::size_t lunghezza = 0;
  const bool valida = lunghezza_contenuto(std::string_view(dati).substr(inizio, fine - inizio), lunghezza);
  inizio = inizio_corpo;
  if (!valida) return esito_lettura::scartato;

  if (lunghezza > byte_massimi_messaggio) {
    // Passed over byte by byte as it comes, never held.
    std::size_t da_saltare = lunghezza;
    for (;;) {
      const std::size_t qui = std::min(da_saltare, dati.size() - inizio);
      inizio += qui;
      da_saltare -= qui;
      if (da_saltare == 0) return esito_lettura::scartato;
      if (!leggi_ancora()) return esito_lettura::fine;
    }
  }
  while (dati.size() - inizio < lunghezza)
    if (!leggi_ancora()) return esito_lettura::fine;
  corpo.assign(dati, inizio, lunghezza);
  inizio += lunghezza;
  return esito_lettura::messaggio;
}

std::string incornicia(std::string_view corpo) {
  std::string m = "Content-Length: " + std::to_string(corpo.size()) + "\r\n\r\n";
  m.append(corpo);
  return m;
}
