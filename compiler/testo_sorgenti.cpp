#include "compiler/testo_sorgenti.h"

#include <utility>

#include "compiler/descrizioni.h"
#include "compiler/parole_chiave.h"
#include "formato/testo_1252.h"

namespace {

// "A", "A and B", "A, B and C": the characters with no single-byte form; a
// control character written as \uNNNN, never sent to the author's terminal.
std::string elenco_caratteri(const std::string& caratteri) {
  std::vector<std::string> c;
  for (std::size_t i = 0; i < caratteri.size();) {
    std::size_t n = 1;
    while (i + n < caratteri.size() && (static_cast<unsigned char>(caratteri[i + n]) & 0xC0u) == 0x80u) ++n;
    // Each character as a field is quoted, without the quotes.
    const std::string q = citazione(caratteri.substr(i, n));
    c.push_back(q.substr(1, q.size() - 2));
    i += n;
  }
  std::string t;
  for (std::size_t k = 0; k < c.size(); ++k) t += (k == 0 ? "" : k + 1 == c.size() ? " and " : ", ") + c[k];
  return t;
}

// Where the general heading stands (line and column from 1), the first field
// the parsers read: everything before it is passed over unread. {0, 0} when
// the text has none, and nothing of it is read at all.
std::pair<int32_t, int32_t> intestazione_generale(std::string_view testo) {
  const std::string m = minuscole(testo);
  const std::size_t p = m.find("[generale]");
  if (p == std::string::npos) return {0, 0};
  int32_t riga = 1;
  std::size_t inizio_riga = 0;
  for (std::size_t i = 0; i < p; ++i)
    if (testo[i] == '\n' || (testo[i] == '\r' && (i + 1 >= testo.size() || testo[i + 1] != '\n'))) {
      ++riga;
      inizio_riga = i + 1;
    }
  return {riga, static_cast<int32_t>(p - inizio_riga + 1)};
}

}  // namespace

std::vector<avviso_registrato> rendi_1252(std::string& testo, const std::string& etichetta) {
  std::vector<avviso_registrato> avvisi;
  const std::vector<campo_convertito> campi = converti_in_1252(testo).campi;
  const std::pair<int32_t, int32_t> generale = intestazione_generale(testo);
  for (const campo_convertito& c : campi) {
    if (c.parentesi) continue;
    // A field before the general heading is never read, so nothing of it is stored.
    if (generale.first == 0 || std::make_pair(c.riga, c.colonna) < generale) continue;
    avviso_registrato a;
    a.file = etichetta;
    a.riga = c.riga;
    a.colonna = c.colonna;
    if (c.senza_forma.empty()) {
      a.codice = avviso_testo_convertito;
      a.testo = citazione(c.testo) + " is UTF-8 text: stored as single-byte Windows-1252";
    } else {
      a.codice = avviso_testo_non_convertibile;
      a.testo = citazione(c.testo) + " holds " + elenco_caratteri(c.senza_forma) +
                ", with no single-byte form in Windows-1252: each stored as '?'";
    }
    avvisi.push_back(std::move(a));
  }
  return avvisi;
}
