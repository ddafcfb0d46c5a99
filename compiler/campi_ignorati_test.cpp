#include "compiler/campi_ignorati.h"

#include <gtest/gtest.h>

#include "compiler/parole_chiave.h"

// What counts as close: at most one edit (an insertion, a deletion, a
// substitution or a swap of two neighbours) from a keyword or a keyword's
// word of up to 6 letters, at most two from a longer one; in any case.
TEST(CampiIgnorati, LaParolaPiuVicina) {
  struct caso {
    const char* campo;
    std::span<const std::string_view> parole;
    const char* vicina;  // "" for none
  } casi[] = {
      {"pendneza", parole_corpo_linea(), "pendenza"},   // a swap
      {"PENDENZE", parole_corpo_linea(), "pendenza"},   // case does not count
      {"cartello-indicatore", parole_corpo_linea(), "cartello_indicatore"},
      {"indicatore_vmax", parole_corpo_linea(), "indicatori_vmax"},
      {"curvd4", parole_corpo_linea(), "curvad4"},
      {"montangia", parole_corpo_linea(), "montagna"},  // two edits from 8 letters
      {"segnle", parole_treno(), "segnale"},
      {"stazone", parole_treno(), "stazione"},
      {"stazioni", parole_treno(), "stazione"},
      {"velcoita", parole_treno(), "velocita"},
      {"vettura", parole_treno(), "numero vetture"},   // one word of the keyword
      {"ralentamento", parole_treno(), "rallentamento"},
      {"sabia", parole_treno(), "sabbia"},
      {"lunghezza percoso", parole_generali(), "lunghezza percorso"},
      {"sfondo quattro", parole_generali(), ""},
      {"sabbiaa", parole_generali(), ""},               // the keywords of its own part only
      {"sbbiaa", parole_treno(), ""},                   // two edits from 6 letters
      {"nota", parole_treno(), ""},
      {"BORGO", parole_treno(), ""},
      {"", parole_treno(), ""},
  };
  for (const caso& c : casi) EXPECT_EQ(parola_vicina(c.campo, c.parole), c.vicina) << c.campo;
  EXPECT_EQ(distanza_parole("pendneza", "pendenza"), 1);
  EXPECT_EQ(distanza_parole("abc", "ca"), 3) << "a restricted distance: no edit of a swapped pair";
  EXPECT_EQ(distanza_parole("", "segnale"), 7);
}

#include "compiler/descrizioni.h"

// A field quoted in a message is printable: what is not, is written so.
TEST(CampiIgnorati, CitazioniLeggibili) {
  struct caso {
    std::string campo, citato;
  } casi[] = {
      {"pendneza", "'pendneza'"},
      {"velocit\xC3\xA0", "'velocit\xC3\xA0'"},           // UTF-8 as it is
      {"CITT\xC0", "'CITT\xC3\x80'"},                      // a single-byte letter shown as itself
      {std::string("a\x01\x7F\x85z"), "'a\\x01\\x7F\\x85z'"},  // control bytes written out
      {std::string(70, 'x'), "'" + std::string(60, 'x') + "...'"},
  };
  for (const caso& c : casi) EXPECT_EQ(citazione(c.campo), c.citato) << c.campo;
}
