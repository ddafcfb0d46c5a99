// Every error code the build can record, with a one-line description.
//
// The one table of codes: diagnostics and the authors' reference come from here.
// Codes below 200 and 1250/1251 are the build's own; codes from 201 up reject
// sources that would otherwise lay features outside the tables.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

enum codice_errore : int32_t {
  errore_lunghezza_percorso = 1,
  errore_progressive = 2,
  errore_inizio_ripetizione = 3,
  errore_fine_ripetizione = 4,
  errore_codici_ripetizione = 5,
  errore_cartello_occupato = 6,
  errore_abbattimento_occupato = 7,
  errore_stazione_posizione = 8,
  errore_stazione_lunghezza = 9,
  errore_stazioni_troppe = 10,
  errore_approccio_segnale = 11,
  errore_approccio_rallentamento = 12,
  errore_cammino_rallentamento = 13,
  errore_fuori_percorso = 15,
  errore_segnale_occupato = 16,
  errore_avviso_occupato = 17,
  errore_inizio_occupato = 18,
  errore_fine_occupato = 19,
  errore_conto_occupato = 20,
  errore_indicatore_occupato = 21,
  errore_stazioni_vicine = 22,
  errore_stazione_troppo_presto = 24,
  errore_lettura = 25,
  errore_linea_mancante = 101,
  errore_generale_mancante = 102,
  errore_curva = 103,
  // Sources that would lay features outside the grid, the plan or the tables.
  errore_lunghezza_mancante = 201,
  errore_lunghezza_negativa = 202,
  errore_curva_oltre_linea = 203,
  errore_montagne_troppe = 204,
  errore_montagna_fuori_percorso = 205,
  errore_indicatore_fuori_percorso = 206,
  errore_cartelli_troppi = 207,
  errore_cartello_fuori_percorso = 208,
  errore_pendenze_oltre_percorso = 209,
  errore_aderenze_oltre_percorso = 210,
  errore_segnale_fuori_percorso = 211,
  errore_rallentamento_fuori_percorso = 212,
  errore_abbattimento_fuori_percorso = 213,
  errore_stazione_fuori_percorso = 214,
  errore_stazione_senza_slot = 215,
  errore_marca_cella_1 = 1250,
  errore_codice_cella_1 = 1251,
};

struct voce_errore {
  int32_t codice;
  std::string_view descrizione;
};

// The whole table, in ascending order of code.
std::span<const voce_errore> tabella_errori();
// The description of `codice`, or an empty text for a code not in the table.
std::string_view descrizione_errore(int32_t codice);
