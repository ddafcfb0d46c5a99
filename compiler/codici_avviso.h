// Every warning code, with its one-line description.
//
// A warning is a finding that the compiler accepts but an author almost surely
// did not mean. Warnings never change the packed bytes nor the error pair; they
// have codes of their own, 301 up, apart from the error codes.
//
// The one table of warning codes: diagnostics and the authors' reference
// (docs/codici_avviso.md) come from here.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum codice_avviso : int32_t {
  // Reading the sources.
  avviso_campo_ignorato = 301,         // a field that no row kind reads, skipped with its values
  avviso_testo_convertito = 302,       // UTF-8 text stored as single bytes
  avviso_testo_non_convertibile = 303, // UTF-8 text with no single-byte form
  avviso_nome_mancante = 304,          // a name or text missing: the next line's first field taken for it
  avviso_riga_ripetuta = 305,          // a header row given again: the later one counts
  avviso_nome_vuoto = 306,             // a name or text that is empty, or a number
  avviso_treno_vuoto = 307,            // a train source with no general heading: nothing of the train is read
  avviso_sorgenti_scambiate = 308,     // a source that holds the other source's rows and none of its own
  avviso_commento_parola = 309,        // a comment holding a row's keyword, read as that row
  // Rows of a running value, and stations, out of ascending order.
  avviso_stazioni_fuori_ordine = 311,
  avviso_velocita_fuori_ordine = 312,
  avviso_aderenze_fuori_ordine = 313,
  avviso_pendenze_fuori_ordine = 314,
  avviso_curve_fuori_ordine = 315,
  avviso_generale_chiusa = 316,        // the general section ended at a field in brackets, general rows after it
  avviso_curva_vuota = 317,            // a curve of length 0 or below: nothing of it is laid
  // Times of the stations.
  avviso_orario_indietro = 321,        // a stop's time before the previous one (one midnight allowed)
  avviso_orario_non_valido = 322,      // not a time of day
  avviso_fermata_senza_orario = 323,   // no time where the row or its place in the run says it stops
  avviso_corsa_breve = 324,            // the train's rows reach only a small first part of the route
  avviso_orologio_non_valido = 325,    // the clock at the start is not a time of day
  // Slow orders, signals, stations and mountain spans: where they stand, how long they are.
  avviso_rallentamenti_sovrapposti = 331,
  avviso_rallentamento_oltre_fine = 332,
  avviso_segnale_oltre_fine = 333,
  avviso_rallentamento_lunghezza = 334,  // of length 0 or below
  avviso_rallentamento_velocita = 335,   // at speed 0, or above the line limit there
  avviso_rallentamento_senza_fine = 336, // so short that its end falls on its start's cell
  avviso_stazione_oltre_fine = 337,      // a station past the route's end
  avviso_montagna_vuota = 338,           // a mountain span that lays no cell: backwards, or shorter than a cell
  avviso_stazione_lunghezza = 339,       // a station of length 0 or below
  // One row's feature laid over another's.
  avviso_stazione_su_elemento = 341,     // a station point overwrites a signal, a board or another feature
  avviso_segno_sovrascritto = 342,       // an approach mark overwrites another
  // Values the packed files cannot hold as written.
  avviso_velocita_arrotondata = 351,     // stored as speed / 5, rounded
  avviso_nome_tagliato = 352,            // a name or board text cut to fit its length field
  avviso_valore_troncato = 353,          // a value kept in fewer bits than it needs
  avviso_codici_segnale = 354,           // a signal's codes outside the ranges its packing keeps apart
  // Values stored as written that no railway has.
  avviso_pendenza_ripida = 355,          // a gradient steeper than adhesion climbs
  avviso_percorso_corto = 356,           // a route length under 1 km with rows far beyond it
  avviso_codici_cartello = 357,          // a maximum-speed board's values outside the ranges its packing keeps apart
  // The timetable against the fastest run.
  avviso_tratta_impossibile = 361,       // scheduled shorter than the fastest run
  avviso_margine_scarso = 362,           // scheduled shorter than the fastest run and its recovery margin
  avviso_senza_limite = 363,             // a stretch of the run with no speed limit laid
  avviso_sosta_senza_fermata = 364,      // a dwell given for a station that is no stop between two sections
  // The driver's documents.
  avviso_documento_tagliato = 371,       // a name cut to its cell
  avviso_documento_traslitterato = 372,  // a name written in plain letters
  avviso_partenza_scheda = 373,          // a sheet's departure that leaves its first section too short
};

// How the tool weighs a finding. The packed files hold what the author wrote,
// or the tool says no:
//   errore  something the author wrote is dropped, cut, rounded or replaced in
//           the packed files: the tool refuses the scenario (exit status 1,
//           nothing written);
//   avviso  stored exactly as written, but almost surely not what was meant;
//   nota    a lossless change of form (UTF-8 made single-byte): nothing to do.
// The compiler's own error pair and the packed bytes never depend on it.
enum class peso : uint8_t { nota, avviso, errore };

struct voce_avviso {
  int32_t codice;
  ::peso peso;
  std::string_view descrizione;
};

// The whole table, in ascending order of code.
std::span<const voce_avviso> tabella_avvisi();
// The description of `codice`, or an empty text for a code not in the table.
std::string_view descrizione_avviso(int32_t codice);
// How the tool weighs `codice` (an unknown code as a warning).
peso peso_avviso(int32_t codice);
// "error", "warning", "note": as the reports name the weight.
std::string_view nome_peso(peso g);

// A finding named as the report names it: "warning 356", "error 308".
std::string nome_avviso(int32_t codice);

// A warning as found: its code, a one-line text in the author's terms (the
// table's description when empty), where it stands in a source when it has a
// place there, and the route position it concerns.
struct avviso_registrato {
  int32_t codice = 0;
  std::string testo;
  std::string file;        // the source's label; empty when the warning has no source place
  int32_t riga = 0;        // line and column (from 1) in that source
  int32_t colonna = 0;
  bool con_posizione = false;
  int32_t posizione = 0;   // metres along the route
  // The other rows the text names (indices into the build's rows read): what
  // an editor links the warning to.
  std::vector<int32_t> righe_colpevoli;
};
