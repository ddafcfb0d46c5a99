#include "compiler/righe_lette.h"

#include <iterator>

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

std::string_view nome_valore(tipo_riga t, int i) {
  static constexpr std::string_view lunghezza[] = {"route length"};
  static constexpr std::string_view progressiva[] = {"first value", "second value", "third value"};
  static constexpr std::string_view uno[] = {"value"};
  static constexpr std::string_view ripetizione[] = {"start", "end"};
  static constexpr std::string_view pendenza[] = {"position", "gradient"};
  static constexpr std::string_view curva[] = {"start", "length"};
  static constexpr std::string_view montagna[] = {"start", "end", "type"};
  static constexpr std::string_view cartello_vmax[] = {"position", "vas", "vbs", "vcs", "strisces",
                                                       "vad", "vbd", "vcd", "strisced"};
  static constexpr std::string_view indicatore_km[] = {"position", "text"};
  static constexpr std::string_view velocita[] = {"position", "speed"};
  static constexpr std::string_view aderenza[] = {"position", "adhesion"};
  static constexpr std::string_view orologio[] = {"hours", "minutes", "seconds"};
  static constexpr std::string_view segnale[] = {"posizione", "sx", "s1", "s2", "s3", "rapp",
                                                 "dx", "d1", "d2", "d3", "tempo"};
  static constexpr std::string_view rallentamento[] = {"x", "v", "l", "f_tt", "f_ta", "d_v"};
  static constexpr std::string_view abbattimento[] = {"position", "speed"};
  static constexpr std::string_view stazione[] = {
      "position (column 1)", "kind (column 2)",  "length (column 3)",   "column 4",
      "column 5",            "column 6",         "column 7",            "column 8",
      "column 9",            "column 10",        "column 11",           "column 12",
      "column 13",           "hours (column 14)", "minutes (column 15)", "seconds (column 16)",
      "name (column 17)"};
  auto di = [i](const auto& nomi) {
    return i >= 0 && i < static_cast<int>(std::size(nomi)) ? nomi[i] : std::string_view{};
  };
  switch (t) {
    case tipo_riga::lunghezza: return di(lunghezza);
    case tipo_riga::progressiva: return di(progressiva);
    case tipo_riga::sfondo: return di(uno);
    case tipo_riga::ripetizione: return di(ripetizione);
    case tipo_riga::pendenza: return di(pendenza);
    case tipo_riga::curva: return di(curva);
    case tipo_riga::montagna: return di(montagna);
    case tipo_riga::cartello_vmax: return di(cartello_vmax);
    case tipo_riga::indicatore_km: return di(indicatore_km);
    case tipo_riga::massa_frenata: return di(uno);
    case tipo_riga::vetture: return di(uno);
    case tipo_riga::velocita: return di(velocita);
    case tipo_riga::aderenza: return di(aderenza);
    case tipo_riga::orologio: return di(orologio);
    case tipo_riga::sabbia: return di(uno);
    case tipo_riga::segnale: return di(segnale);
    case tipo_riga::rallentamento: return di(rallentamento);
    case tipo_riga::abbattimento: return di(abbattimento);
    case tipo_riga::stazione: return di(stazione);
  }
  return {};
}
