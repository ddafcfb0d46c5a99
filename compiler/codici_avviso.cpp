#include "compiler/codici_avviso.h"

#include <algorithm>

namespace {

constexpr voce_avviso voci[] = {
    {avviso_campo_ignorato, peso::errore, "a field that no row kind reads; skipped"},
    {avviso_testo_convertito, peso::nota, "UTF-8 text stored as single-byte text"},
    {avviso_testo_non_convertibile, peso::errore, "UTF-8 text with no single-byte form"},
    {avviso_nome_mancante, peso::errore, "a name or text missing: the next line's first field taken for it"},
    {avviso_riga_ripetuta, peso::errore, "a header row given again: the later one counts"},
    {avviso_nome_vuoto, peso::avviso, "a name or text that is empty or a number"},
    {avviso_treno_vuoto, peso::errore, "a train source without its general heading: nothing of the train is read"},
    {avviso_sorgenti_scambiate, peso::errore, "a source that holds the other source's rows and none of its own"},
    {avviso_commento_parola, peso::errore, "a comment that holds a row's keyword, read as that row"},
    {avviso_stazioni_fuori_ordine, peso::avviso, "station rows out of ascending position order"},
    {avviso_velocita_fuori_ordine, peso::errore, "speed-limit rows out of ascending position order"},
    {avviso_aderenze_fuori_ordine, peso::errore, "adhesion rows out of ascending position order"},
    {avviso_pendenze_fuori_ordine, peso::errore, "gradient rows out of ascending position order"},
    {avviso_curve_fuori_ordine, peso::errore, "curve rows out of ascending position order, or overlapping"},
    {avviso_generale_chiusa, peso::errore, "the general section ended by a field in brackets, with general rows after it"},
    {avviso_curva_vuota, peso::errore, "a curve of length 0 or below: nothing of it is laid"},
    {avviso_orario_indietro, peso::avviso, "a stop's time before the previous stop's"},
    {avviso_orario_non_valido, peso::errore, "a station time that is not a time of day"},
    {avviso_fermata_senza_orario, peso::avviso, "a station without a time where the train stops"},
    {avviso_corsa_breve, peso::avviso, "a train whose rows reach only a small first part of the route"},
    {avviso_orologio_non_valido, peso::avviso, "a clock that is not a time of day"},
    {avviso_rallentamenti_sovrapposti, peso::avviso, "slow orders whose sections overlap"},
    {avviso_rallentamento_oltre_fine, peso::avviso, "a slow order past the route's end"},
    {avviso_segnale_oltre_fine, peso::avviso, "a signal past the route's end"},
    {avviso_rallentamento_lunghezza, peso::avviso, "a slow order of length 0 or below"},
    {avviso_rallentamento_velocita, peso::avviso, "a slow order at speed 0 or above the line limit there"},
    {avviso_rallentamento_senza_fine, peso::errore, "a slow order so short that its end falls on its start's cell"},
    {avviso_stazione_oltre_fine, peso::avviso, "a station past the route's end"},
    {avviso_montagna_vuota, peso::errore, "a mountain span that marks no cell: written backwards, or shorter than a cell"},
    {avviso_stazione_lunghezza, peso::avviso, "a station of length 0 or below"},
    {avviso_stazione_su_elemento, peso::errore, "a station point laid over a signal, a board or another point feature"},
    {avviso_segno_sovrascritto, peso::errore, "an approach mark laid over another"},
    {avviso_velocita_arrotondata, peso::errore, "a speed the packed file cannot hold as written"},
    {avviso_nome_tagliato, peso::errore, "a name or board text cut to fit its length field"},
    {avviso_valore_troncato, peso::errore, "a value kept in fewer bits than it needs"},
    {avviso_codici_segnale, peso::errore, "a signal code outside the range its packing keeps apart"},
    {avviso_pendenza_ripida, peso::avviso, "a gradient steeper than a train climbs by adhesion"},
    {avviso_percorso_corto, peso::avviso, "a route length under 1 km with rows far beyond it"},
    {avviso_codici_cartello, peso::errore, "a maximum-speed board's value outside the range its packing keeps apart"},
    {avviso_tratta_impossibile, peso::avviso, "a section scheduled shorter than the fastest run"},
    {avviso_margine_scarso, peso::avviso, "a section scheduled shorter than the fastest run and its recovery margin"},
    {avviso_senza_limite, peso::avviso, "a stretch of the run with no speed limit laid"},
    {avviso_sosta_senza_fermata, peso::avviso, "a dwell given for a station that is no stop between two sections"},
    {avviso_documento_tagliato, peso::avviso, "a name cut to fit its cell in a driver's document"},
    {avviso_documento_traslitterato, peso::avviso, "a name written in plain letters in a driver's document"},
    {avviso_partenza_scheda, peso::avviso, "a train sheet's departure that its first section cannot keep"},
};

}  // namespace

std::span<const voce_avviso> tabella_avvisi() { return voci; }

peso peso_avviso(int32_t codice) {
  for (const voce_avviso& v : voci)
    if (v.codice == codice) return v.peso;
  return peso::avviso;
}

std::string_view nome_peso(peso g) {
  switch (g) {
    case peso::nota: return "note";
    case peso::errore: return "error";
    case peso::avviso: break;
  }
  return "warning";
}

std::string nome_avviso(int32_t codice) {
  return std::string(nome_peso(peso_avviso(codice))) + ' ' + std::to_string(codice);
}

std::string_view descrizione_avviso(int32_t codice) {
  const auto v = std::lower_bound(std::begin(voci), std::end(voci), codice,
                                  [](const voce_avviso& a, int32_t c) { return a.codice < c; });
  return v != std::end(voci) && v->codice == codice ? v->descrizione : std::string_view{};
}
