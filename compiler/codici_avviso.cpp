#include "compiler/codici_avviso.h"

#include <algorithm>

namespace {

constexpr voce_avviso voci[] = {
    {avviso_campo_ignorato, "a field that no row kind reads; skipped"},
    {avviso_testo_convertito, "UTF-8 text stored as single-byte text"},
    {avviso_testo_non_convertibile, "UTF-8 text with no single-byte form"},
    {avviso_nome_mancante, "a name or text that is missing, empty or a number"},
    {avviso_riga_ripetuta, "a header row given again: the later one counts"},
    {avviso_stazioni_fuori_ordine, "station rows out of ascending position order"},
    {avviso_velocita_fuori_ordine, "speed-limit rows out of ascending position order"},
    {avviso_aderenze_fuori_ordine, "adhesion rows out of ascending position order"},
    {avviso_pendenze_fuori_ordine, "gradient rows out of ascending position order"},
    {avviso_curve_fuori_ordine, "curve rows out of ascending position order, or overlapping"},
    {avviso_orario_indietro, "a stop's time before the previous stop's"},
    {avviso_orario_non_valido, "a station time that is not a time of day"},
    {avviso_rallentamenti_sovrapposti, "slow orders whose sections overlap"},
    {avviso_rallentamento_oltre_fine, "a slow order past the route's end"},
    {avviso_segnale_oltre_fine, "a signal past the route's end"},
    {avviso_rallentamento_lunghezza, "a slow order of length 0 or below"},
    {avviso_rallentamento_velocita, "a slow order at speed 0 or above the line limit there"},
    {avviso_rallentamento_senza_fine, "a slow order so short that its end falls on its start's cell"},
    {avviso_stazione_su_elemento, "a station point laid over a signal, a board or another point feature"},
    {avviso_segno_sovrascritto, "an approach mark laid over another"},
    {avviso_velocita_arrotondata, "a speed the packed file cannot hold as written"},
    {avviso_nome_tagliato, "a name or board text cut to fit its length field"},
    {avviso_valore_troncato, "a value kept in fewer bits than it needs"},
    {avviso_codici_segnale, "a signal code outside the range its packing keeps apart"},
    {avviso_tratta_impossibile, "a section scheduled shorter than the fastest run"},
    {avviso_margine_scarso, "a section scheduled shorter than the fastest run and its recovery margin"},
    {avviso_senza_limite, "a stretch of the run with no speed limit laid"},
    {avviso_sosta_senza_fermata, "a dwell given for a station that is no stop between two sections"},
    {avviso_documento_tagliato, "a name cut to fit its cell in a driver's document"},
    {avviso_documento_traslitterato, "a name written in plain letters in a driver's document"},
};

}  // namespace

std::span<const voce_avviso> tabella_avvisi() { return voci; }

std::string_view descrizione_avviso(int32_t codice) {
  const auto v = std::lower_bound(std::begin(voci), std::end(voci), codice,
                                  [](const voce_avviso& a, int32_t c) { return a.codice < c; });
  return v != std::end(voci) && v->codice == codice ? v->descrizione : std::string_view{};
}
