#include "compiler/righe_lette.h"

std::string_view parola_riga(tipo_riga t) {
  switch (t) {
    case tipo_riga::lunghezza: return "lunghezza percorso";
    case tipo_riga::progressiva: return "progressiva chilometrica";
    case tipo_riga::sfondo: return "sfondo";
    case tipo_riga::ripetizione: return "ripetizione segnali";
    case tipo_riga::pendenza: return "pendenza";
    case tipo_riga::curva: return "curva";
    case tipo_riga::montagna: return "montagna";
    case tipo_riga::cartello_vmax: return "indicatori_vmax";
    case tipo_riga::indicatore_km: return "cartello_indicatore";
    case tipo_riga::massa_frenata: return "percentuale massa frenata";
    case tipo_riga::vetture: return "numero vetture";
    case tipo_riga::velocita: return "velocita";
    case tipo_riga::aderenza: return "aderenza";
    case tipo_riga::orologio: return "orologio";
    case tipo_riga::sabbia: return "sabbia";
    case tipo_riga::segnale: return "segnale";
    case tipo_riga::rallentamento: return "rallentamento";
    case tipo_riga::abbattimento: return "abbattimento";
    case tipo_riga::stazione: return "stazione";
  }
  return "";
}
