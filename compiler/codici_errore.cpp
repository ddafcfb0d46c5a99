#include "compiler/codici_errore.h"

#include <algorithm>

namespace {

constexpr voce_errore voci[] = {
    {errore_lunghezza_percorso, "route length above 1000000 m"},
    {errore_progressive, "a kilometre reference whose first or second value is not a multiple of 50"},
    {errore_inizio_ripetizione, "cab-signal span start not a multiple of 50"},
    {errore_fine_ripetizione, "cab-signal span end not a multiple of 50"},
    {errore_codici_ripetizione, "cab-signal keyword names neither 4 nor 9 codes"},
    {errore_cartello_occupato, "kilometre indicator board on an occupied cell"},
    {errore_abbattimento_occupato, "speed-reduction point on an occupied cell"},
    {errore_stazione_posizione, "station position not a multiple of 50"},
    {errore_stazione_lunghezza, "station length not a multiple of 100"},
    {errore_stazioni_troppe, "no slot left in the station table for another station"},
    {errore_approccio_segnale, "no free cell for the approach point before a signal behind a warning board"},
    {errore_approccio_rallentamento, "no free cell for an approach point before a slow order's start"},
    {errore_cammino_rallentamento, "no free cell for a point along a slow order or before the signal after it"},
    {errore_fuori_percorso, "position beyond the end of the route grid"},
    {errore_segnale_occupato, "signal on an occupied cell"},
    {errore_avviso_occupato, "slow order's warning board on an occupied cell"},
    {errore_inizio_occupato, "slow order's start on an occupied cell"},
    {errore_fine_occupato, "slow order's end on an occupied cell"},
    {errore_conto_occupato, "slow order's countdown cells occupied"},
    {errore_indicatore_occupato, "maximum-speed board on an occupied cell"},
    {errore_stazioni_vicine, "station span starts less than 350 m after the previous station's span ends"},
    {errore_stazione_troppo_presto, "station span ends at 100 m or before"},
    {errore_lettura, "unreadable source: a missing or malformed value, or a number too wide for its field"},
    {errore_linea_mancante, "the line source file does not exist"},
    {errore_generale_mancante, "no [generale] section in the line source"},
    {errore_curva, "curve keyword without a class digit 1 to 6, or the plan runs past metre 1000000"},
    {errore_lunghezza_mancante, "no route length row in the line's general section: the grid cannot be sized"},
    {errore_lunghezza_negativa, "route length so far below 0 that the grid (below -7025 m) or the line plan (below -6999 m) has no room"},
    {errore_curva_oltre_linea, "a curve runs past the end of the line plan (route length + 7000 m)"},
    {errore_montagne_troppe, "more than 80 mountain spans"},
    {errore_montagna_fuori_percorso, "mountain span starting before 0 m or ending beyond the route grid"},
    {errore_indicatore_fuori_percorso, "maximum-speed board before the start of the route"},
    {errore_cartelli_troppi, "more than 80 kilometre indicator boards"},
    {errore_cartello_fuori_percorso, "kilometre indicator board before the start of the route"},
    {errore_pendenze_oltre_percorso, "gradient rows out of order run past the end of the route grid"},
    {errore_aderenze_oltre_percorso, "adhesion rows out of order run past the end of the route grid"},
    {errore_segnale_fuori_percorso, "signal before 325 m: its approach marks would fall before the start of the route"},
    {errore_rallentamento_fuori_percorso, "slow order whose start, end, warning board or countdown falls outside the route grid"},
    {errore_abbattimento_fuori_percorso, "speed-reduction point before the start of the route"},
    {errore_stazione_fuori_percorso, "station whose span ends beyond the route grid: its point would lie past the last cell"},
    {errore_stazione_senza_slot, "no slot left for a station: 80 kilometre boards fill the station table"},
    {errore_marca_cella_1, "cell 1 or the scenario slot already holds a value where the packer stamps its marker"},
    {errore_codice_cella_1, "cell 1 or the scenario slot already holds a value where the packer stamps its code"},
};

}  // namespace

std::span<const voce_errore> tabella_errori() { return voci; }

std::string_view descrizione_errore(int32_t codice) {
  const auto it = std::find_if(std::begin(voci), std::end(voci),
                               [codice](const voce_errore& v) { return v.codice == codice; });
  return it == std::end(voci) ? std::string_view{} : it->descrizione;
}
