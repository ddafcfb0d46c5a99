// The warnings the parsers find as they read and lay a row: each names the
// row (the place of its keyword field) and says what happened in the
// author's terms. None of them changes what is laid.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "compiler/compilazione.h"

// Records warning `codice` at row `indice` with `testo`.
avviso_registrato& avvisa_riga(compilazione& f, int32_t codice, int32_t indice, std::string testo);

// Row `indice` of a running value does not come after the row before it of
// its kind (`precedente`): its value, worded as `valore` ("100 km/h"), is laid
// from cell `cella_inizio` on.
void avvisa_fuori_ordine(compilazione& f, int32_t codice, int32_t indice, int32_t precedente, const std::string& valore,
                         int64_t cella_inizio);

// A name or text field read for row `indice` (`cosa`: "name", "text")
// stands on a later line than the row's values (`riga_valori`): the row had
// none, and the field read in its place is the next row's keyword (304); or
// it is empty, or a number (306). Returns true when it told one of these.
bool avvisa_nome(compilazione& f, int32_t indice, std::string_view cosa, std::string_view nome, int32_t riga_nome,
                 int32_t riga_valori);

// A row at `posizione`, named `chi` ("the 'curvad2' row at F_linea.txt:12"),
// on a route shorter than 1 km: a row at 1 km or beyond says the length was
// most likely written in kilometres. Told once (356), at the route length
// row; the rows past the route's end are then its consequence.
void avvisa_percorso_corto(compilazione& f, int32_t posizione, const std::string& chi);
// What an error at a row past the grid adds once 356 is told: the route
// length as its cause ("; the route length (F_linea.txt:2) is only 48 m ...");
// empty otherwise.
std::string percorso_corto(const compilazione& f);

// A header row, which holds one value for the whole scenario, given again:
// row `indice` replaces `precedente` (none the first time), which is told
// (305); `precedente` becomes `indice`. Nothing when `indice` is none.
void avvisa_ripetuta(compilazione& f, int32_t indice, int32_t& precedente);

// A speed limit as a cell keeps it: divided by 5, rounded half to even. Tells
// (351) a speed that does not come back as written, when it fits at all.
void avvisa_quinto(compilazione& f, int32_t indice, std::string_view quale, int64_t velocita);

// Approach marks laid by the row being laid over marks of other rows: told
// (342) once per other row, with the cells, when the row is done.
struct segni_sovrascritti {
  struct voce {
    int32_t altra = nessuna_riga;  // the row whose mark was replaced
    int64_t cella = 0;
    uint8_t prima = 0, dopo = 0;   // its mark, and the new one
  };
  voce voci[8];
  int quante = 0;
};

// Lays approach mark `valore` on cell `c` for the row being laid, noting in
// `s` a mark of another row that it replaces.
void posa_segno_su(compilazione& f, int64_t c, uint8_t valore, segni_sovrascritti& s);
// Tells what `s` noted.
void avvisa_segni(compilazione& f, const segni_sovrascritti& s);
