// The driver's three documents for any scenario, as plain records, and their
// layout in the text forms of the built-in documents: plain ASCII, the same
// headings, bars, column positions and cell widths, the same five forms of
// the time cell, the same page structure. The layout touches no file: it
// gives the lines, and `testo_documento` the text with CR LF after each.
//
// The layout never runs a text over a bar: a text longer than its cell is
// cut to it, and anything outside plain printable ASCII is written as '?'.
// The derivation (documents/deriva_documenti.h) fits every text beforehand
// and says what it cut; the layout's own cut is a last guard.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// ---- The train sheet -------------------------------------------------------

// Table rows on every page of the sheet, the blank form's included.
inline constexpr std::size_t righe_per_pagina = 31;
// Widths of the texts that the sheet's cells hold.
inline constexpr std::size_t larghezza_luogo = 27;       // the place, after its leading space
inline constexpr std::size_t larghezza_stazione_testa = 22;  // origin and destination in the heading
inline constexpr std::size_t larghezza_treno_testa = 8;  // the train number after "TRENO n."
inline constexpr std::size_t larghezza_classificazione = 19;
inline constexpr std::size_t larghezza_massa = 12;       // the mass, before its "T"

// The five forms of the time cell.
enum class forma_orario {
  nessuna,   // sixteen spaces: a reference point, or a station passed without a time
  partenza,  // departure from the origin: ten spaces, the time, one space
  transito,  // a time where the train passes: six spaces, the time, five spaces
  fermata,   // arrival and departure at a stop: two spaces, "hh.mm - hh.mm", one space
  arrivo,    // arrival at the destination: one space, the time, ten spaces
};

// Times are seconds of the day, written to the minute (rounded half to even)
// as "hh.mm"; a time beyond midnight is written within the day.
struct orario_riga {
  forma_orario forma = forma_orario::nessuna;
  int32_t arrivo = 0;    // fermata, arrivo
  int32_t partenza = 0;  // partenza, fermata
  int32_t transito = 0;  // transito
};

struct riga_scheda {
  bool stazione = false;                   // a station (repeated at a page break), else a reference point
  std::optional<int32_t> velocita_linea;   // km/h, the line speed limit in force
  std::optional<int32_t> velocita_marcia;  // km/h, given where the running speed changes
  std::optional<int64_t> chilometro;       // metres of the line, written with three decimals
  std::string luogo;                       // the station or the reference point
  orario_riga orario;
  std::optional<int32_t> recupero;         // recovery margin in tenths of a minute (10 = " 1.0 ")
};

// The heading's values; an absent one is written as the blank form's placeholder.
struct intestazione_scheda {
  std::string treno;                        // "xxxxx" when empty
  std::string origine, destinazione;        // "xxxxxx" when empty
  std::optional<int32_t> velocita_massima;  // "Vxxx C"
  std::optional<int32_t> massa_frenata;     // per cent, "xxx%"
  std::string classificazione;              // "xxx"
  std::optional<int32_t> massa;             // tonnes, "xxxT"
};

struct modello_scheda {
  intestazione_scheda intestazione;
  std::vector<riga_scheda> righe;  // the run in route order
};

// Pages of `righe_per_pagina` rows, headed "SCHEDA k/n", as many as the run
// needs, then the blank form. A page that more rows follow ends with its last
// station that fits, and the next page opens with that station's row again;
// the rows left on a page are empty rows. Between the first two pages a rule of
// 81 full stops, between the later ones a rule of 72. The sheet opens with two
// empty lines and closes with one.
std::vector<std::string> impagina_scheda(const modello_scheda& m);

// One table row of the sheet, 83 characters, bars in columns 1, 7, 13, 24,
// 30, 59, 76 and 82.
std::string riga_tabella_scheda(const riga_scheda& r);

// The 14 lines that head page `pagina` of `pagine`.
std::vector<std::string> intestazione_pagina(const intestazione_scheda& t, int pagina, int pagine);

// ---- The slow-order form ---------------------------------------------------

// Order rows on one form; more orders go on to another form, numbered on.
inline constexpr std::size_t righe_per_modulo = 26;
inline constexpr std::size_t larghezza_stazioni = 27;  // the stations' cell, after its leading space

struct riga_rallentamento {
  int32_t numero = 0;
  std::string stazioni;        // "A - B", or the one station the section lies in
  int64_t chilometro = 0;      // the whole kilometre after whose post the section begins
  int32_t velocita = 0;        // km/h
  int64_t lunghezza = 0;       // metres
  bool prescrizione_a = false;            // to be respected with the whole train
  std::vector<std::string> stazioni_b;    // stations the section takes in: prescription B
};

struct modello_rallentamenti {
  std::string treno;
  std::string linea;  // the line's title, "ORIGIN - DESTINATION"
  std::vector<riga_rallentamento> righe;
};

// One form of 46 lines for every `righe_per_modulo` orders (one form when
// there are none), each followed by the next after an empty line and a rule of
// 72 full stops. The key's line B names the stations of the form's B rows,
// or holds dots when it has none.
std::vector<std::string> impagina_rallentamenti(const modello_rallentamenti& m);

// One order row of the form, 82 characters, bars in columns 1, 5, 34, 47, 58, 68 and 81.
std::string riga_tabella_rallentamenti(const riga_rallentamento& r);

// ---- The notes -------------------------------------------------------------

struct modello_note {
  std::string treno;
  std::string origine, destinazione;
  // The train source's origin time less the sheet's departure, in minutes:
  // above 0 the train starts late, below 0 early, 0 no line about it.
  int32_t ritardo_minuti = 0;
  std::string firma;     // the signature line, left out when empty
  std::string contatto;  // the contact line, left out when empty
};

// The title line, the late-start line when there is one, "Buon divertimento",
// then an empty line, the signature and the contact when either is given.
std::vector<std::string> impagina_note(const modello_note& m);

// ---- Text ------------------------------------------------------------------

// The lines joined, CR LF after every line.
std::string testo_documento(const std::vector<std::string>& righe);
