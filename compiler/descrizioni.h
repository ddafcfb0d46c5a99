// What the compiler tells an author, in the author's terms: the rows behind
// the cells of the route grid, the fields quoted from a source, times of day.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "compiler/registro.h"

// A field of a source quoted for a message, in UTF-8: in single quotes, UTF-8
// characters as they are, a single-byte letter of the sources (0xA0 to 0xFF,
// the packed files' text) as the character it stands for, other bytes that
// are not printable (control bytes, 0x80 to 0x9F) written as \xNN, the
// control characters of UTF-8 as \uNNNN; cut with "..." past 60 bytes.
std::string citazione(std::string_view campo);

// Where row `indice` stands: "FILE:LINE" of its keyword field; empty for none.
std::string luogo_riga(const registro& r, int32_t indice);

// The row `indice` as a message names it: "the 'segnale' row at
// F_1-.txt:30"; for a station "the station 'BORGO' (F_1-.txt:31)".
std::string nome_riga(const scenario& s, const registro& r, int32_t indice);

// What cell `c` holds and which row laid it: "cell 264 holds the signal
// from F_1-.txt:30", "cell 223 holds the station point of 'BORGO' from
// F_1-.txt:31", "cell 180 holds a speed-reduction point the approach pass
// laid for the slow order from F_1-.txt:40". A cell that is free reads
// "cell 264 is free". The row `riga_in_posa`, being laid, is "this same row".
std::string descrivi_cella(const scenario& s, const registro& r, int64_t c, int32_t riga_in_posa = nessuna_riga);

// The row that laid what cell `c` holds, named as a culprit of the error just
// recorded (`colpevole`); nothing for a free cell or one the row being laid
// (`riga_in_posa`) holds.
void colpevole_cella(const scenario& s, registro& r, int64_t c, int32_t riga_in_posa = nessuna_riga);

// What cell `c` holds, as `descrivi_cella` names it after "holds": "the
// signal from F_1-.txt:30"; "nothing" for a free cell.
std::string cosa_in_cella(const scenario& s, const registro& r, int64_t c, int32_t riga_in_posa = nessuna_riga);

// The origin kept for cell `c` (none when the grid has no origins: a
// scenario read back from packed files).
origine_cella origine_di(const registro& r, int64_t c);


// A time of day given in seconds from midnight: "17:13:00"; a negative one
// "-6:07:30".
std::string ora_testo(int64_t secondi);

// Why a position fails the range check (the error carries the position):
// "the grid ends at cell 340 (17000 m), so a position may be at most 16900 m".
std::string oltre_griglia(const scenario& s, int32_t margine);
