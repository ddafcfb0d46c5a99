// The driver's three documents derived from any compiled scenario: the train
// sheet, the slow-order form and the notes, as the models that
// documents/modelli_documenti.h lays out.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "compiler/codici_avviso.h"
#include "formato/scenario.h"
#include "documents/modelli_documenti.h"

// The times of one station as the timing gives them; what is absent is
// derived from the train source or left blank. Times are seconds of the day.
struct orari_stazione {
  std::optional<int32_t> arrivo;    // at a stop or the destination
  std::optional<int32_t> partenza;  // from the origin or a stop; the origin's is the sheet's departure
  std::optional<int32_t> transito;  // where the train passes
  std::optional<double> recupero;   // the recovery margin, minutes
};

struct opzioni_documenti {
  std::optional<int32_t> velocita_massima;  // km/h: the heading's box, and a ceiling on the running speed
  std::string classificazione;              // "IC"; the placeholder when empty
  std::optional<int32_t> massa;             // tonnes; the placeholder when absent
  int32_t sosta = 120;                      // seconds from arrival to departure at a stop
  std::string firma;                        // the notes' signature line, left out when empty
  std::string contatto;                     // the notes' contact line, left out when empty
};

// What the derivation cut or wrote otherwise than the scenario has it, and
// where: for the tool to print as a warning.
struct avviso_documento {
  std::string dove;   // "train sheet, station 3", "slow-order form, order 2", ...
  std::string testo;  // what happened, with the text before and after
  // avviso_documento_tagliato (a text cut to its cell), avviso_documento_traslitterato
  // (a text written in plain letters); 0 for anything else (a value left out or
  // written as 0), which has no warning code of its own.
  int32_t codice = 0;
  // The slot of the station table whose text it is about (a station's name,
  // a kilometre board's text), so that a report can point at the row that
  // wrote it; 0 for none.
  int slot = 0;
};

struct documenti_derivati {
  modello_scheda scheda;
  modello_rallentamenti rallentamenti;
  modello_note note;
  std::vector<avviso_documento> avvisi;
};

// The three documents of the scenario compiled in `f`, with the times of its
// stations in route order (`orari[i]` for the i-th station; missing entries
// are empty).
documenti_derivati deriva_documenti(const scenario& f, std::span<const orari_stazione> orari,
                                    const opzioni_documenti& o);

// A station as the compiled table holds it, its name as written.
struct stazione_percorso {
  int slot = 0;
  int32_t posizione = 0;  // metres along the route
  int32_t inizio = 0;     // its span, metres
  int32_t fine = 0;
  int32_t codice = 0;     // time of day in seconds; 0: the row carries no time
  std::string nome;
};

// The stations of `f` in route order: the table's slots from
// `slot_prima_stazione` up to the first that holds no number (a station slot
// always holds one: a kind, a span or a position; a board's text slot only a
// name), below the header slots.
std::vector<stazione_percorso> stazioni_percorso(const scenario& f);

// A slow order read from the route grid: its start cell (`tipo_inizio_rallentamento`)
// and the first end cell (`tipo_fine_rallentamento`) after it. A feature's cell
// is its position / 50 + 1, so each position is (cell - 1) * 50: exact for a
// start and an end on the 50 m grid (every order of the built-in train), else
// within 25 m. The source's own length is not kept on the grid.
struct rallentamento_percorso {
  int32_t inizio = 0;      // metres along the route
  int32_t fine = 0;        // metres; `inizio` when the order has no end cell of its own
  bool con_fine = false;   // false: another start, or the grid's end, comes before an end
  int32_t velocita = 0;    // dato1, km/h
  int32_t f_tt = 0;        // dato3: 1, to be respected with the whole train
};

std::vector<rallentamento_percorso> rallentamenti_percorso(const scenario& f);

// The line speed limit in km/h at route position `posizione`: the grid's
// `velocita` x 5 at the cell position / 50. Absent when the grid is.
std::optional<int32_t> limite_linea(const scenario& f, int64_t posizione);
