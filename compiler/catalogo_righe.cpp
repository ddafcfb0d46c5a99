#include "compiler/catalogo_righe.h"

#include <array>
#include <cstdio>
#include <cstdlib>

#include "compiler/celle.h"
#include "formato/numeri.h"
#include "compiler/parole_chiave.h"

namespace {

using L = lettura_valore;

// ---- keywords as written, by section ----

constexpr forma_parola forme_generali[] = {
    {"lunghezza percorso", "the route length, in metres"},
    {"progressiva chilometrica uno", "kilometre reference one: from a route position on, the line's own kilometre"},
    {"progressiva chilometrica due", "kilometre reference two: from a route position on, the line's own kilometre"},
    {"progressiva chilometrica tre", "kilometre reference three: from a route position on, the line's own kilometre"},
    {"sfondo uno", "scenery background one, stored for the simulator as given"},
    {"sfondo due", "scenery background two, stored for the simulator as given"},
    {"sfondo tre", "scenery background three, stored for the simulator as given"},
    {"ripetizione segnali 4 codici", "the span with cab-signal repetition, 4 codes"},
    {"ripetizione segnali 9 codici", "the span with cab-signal repetition, 9 codes"},
};

constexpr forma_parola forme_corpo_linea[] = {
    {"pendenza", "the gradient from a position on, in per mille"},
    {"curvad1", "a curve to the right, class 1: the heading turns 0.0001 rad a metre"},
    {"curvad2", "a curve to the right, class 2: the heading turns 0.0002 rad a metre"},
    {"curvad3", "a curve to the right, class 3: the heading turns 0.0004 rad a metre"},
    {"curvad4", "a curve to the right, class 4: the heading turns 0.001 rad a metre"},
    {"curvad5", "a curve to the right, class 5: the heading turns 0.002 rad a metre"},
    {"curvad6", "a curve to the right, class 6: the heading turns 0.003 rad a metre"},
    {"curvas1", "a curve to the left, class 1: the heading turns 0.0001 rad a metre"},
    {"curvas2", "a curve to the left, class 2: the heading turns 0.0002 rad a metre"},
    {"curvas3", "a curve to the left, class 3: the heading turns 0.0004 rad a metre"},
    {"curvas4", "a curve to the left, class 4: the heading turns 0.001 rad a metre"},
    {"curvas5", "a curve to the left, class 5: the heading turns 0.002 rad a metre"},
    {"curvas6", "a curve to the left, class 6: the heading turns 0.003 rad a metre"},
    {"montagna", "a mountain span: a tunnel, or the line through the mountains"},
    {"indicatori_vmax", "a board of maximum speeds, three and a stripe count for each side"},
    {"cartello_indicatore", "a kilometre board showing its text"},
};

// The number of cars first, as the suggestions have always weighed them.
constexpr forma_parola forme_treno[] = {
    {"numero vetture", "the number of cars"},
    {"percentuale massa frenata", "the braked-mass percentage of the train"},
    {"velocita", "the line speed limit from a position on, in km/h"},
    {"aderenza", "the adhesion from a position on"},
    {"orologio", "the clock when the run begins: hours, minutes, seconds"},
    {"sabbia", "the sand carried"},
    {"segnale", "a signal: its position and its two sides' codes"},
    {"rallentamento", "a slow order: start, speed, length and its flags"},
    {"abbattimento", "a speed-reduction point: position and speed"},
    {"stazione", "a station: position, kind, length, ten kept values, time and name"},
};

// The keywords alone, for the suggestions' word lists.
template <std::size_t N>
constexpr std::array<std::string_view, N> solo_parole(const forma_parola (&forme)[N]) {
  std::array<std::string_view, N> parole{};
  for (std::size_t i = 0; i < N; ++i) parole[i] = forme[i].parola;
  return parole;
}
constexpr auto parole_generali_ = solo_parole(forme_generali);
constexpr auto parole_corpo_linea_ = solo_parole(forme_corpo_linea);
constexpr auto parole_treno_ = solo_parole(forme_treno);

template <std::size_t N>
constexpr std::span<const forma_parola> da(const forma_parola (&forme)[N], std::size_t primo, std::size_t quante) {
  return std::span<const forma_parola>(forme).subspan(primo, quante);
}

// ---- values, by kind ----

constexpr voce_valore v_lunghezza[] = {
    {"route length", "the route's length from its start to its end", "m", "0 to 1000000",
     "sizes the grid: cells 0 to (length + 7000) / 50, and the line plan to length + 7000 m"},
};
constexpr voce_valore v_progressiva[] = {
    {"first value", "the route position from which this reference applies", "m", "a multiple of 50",
     "the three references are ordered by it into slots 81 to 83 of the station table"},
    {"second value", "the line's own kilometre at that position, in metres", "m", "a multiple of 50", ""},
    {"third value", "1 adds 100 m to the second value", "", "0 or 1", ""},
};
constexpr voce_valore v_sfondo[] = {
    {"value", "which scenery the simulator shows: stored as given, read by nothing in the packer", "",
     "a whole number (the built-in line writes 1, 0 and 0)", ""},
};
constexpr voce_valore v_ripetizione[] = {
    {"start", "where cab-signal repetition begins", "m", "a multiple of 50", ""},
    {"end", "where it ends; 0 for no repetition", "m", "a multiple of 50",
     "an end of 0 stores 0 codes, whatever the keyword says"},
};
constexpr voce_valore v_pendenza[] = {
    {"position", "where this gradient begins; the one before runs to the cell before", "m",
     "0 to the route's end", "it starts in cell position / 50, rounded half to even"},
    {"gradient", "the gradient from here on, positive climbing", "per mille", "-100 to 155 (kept exactly)",
     "each cell keeps the gradient plus 100 in one byte: others wrap"},
};
constexpr voce_valore v_curva[] = {
    {"start", "where the curve begins; the track runs straight from the previous curve's end", "m",
     "0 to the route's end, after the previous curve", ""},
    {"length", "the curve's length", "m", "above 0; the plan ends at the route's end + 7000 m", ""},
};
constexpr voce_valore v_montagna[] = {
    {"start", "where the span begins", "m", "0 to the route's end", "its first cell is start / 50"},
    {"end", "where the span ends", "m", "after the start", "its last cell is end / 50 - 1"},
    {"type", "the mountain type; 11 to 20 the same type with a marker every 200 m", "",
     "1 to 20 (the built-in line writes 11)",
     "11 to 20 kept as the type less 10, with markers; 3 for a span 150 m or less after the previous one"},
};
constexpr voce_valore v_cartello_vmax[] = {
    {"position", "the board's position; it stands in cell position / 50 + 1", "m", "0 to the route's end", ""},
    {"vas", "the first side's speed a", "km/h", "multiples of 5 below 500", "dato1 = 20 x vas + vad / 5"},
    {"vbs", "the first side's speed b", "km/h", "multiples of 5 below 500", "dato2 = 20 x vbs + vbd / 5"},
    {"vcs", "the first side's speed c", "km/h", "multiples of 5 below 500", "dato3 = 20 x vcs + vcd / 5"},
    {"strisces", "the first side's stripe count", "", "0 to 9", "dato4 = 10 x strisces + strisced"},
    {"vad", "the second side's speed a", "km/h", "multiples of 5 below 500", "dato1 = 20 x vas + vad / 5"},
    {"vbd", "the second side's speed b", "km/h", "multiples of 5 below 500", "dato2 = 20 x vbs + vbd / 5"},
    {"vcd", "the second side's speed c", "km/h", "multiples of 5 below 500", "dato3 = 20 x vcs + vcd / 5"},
    {"strisced", "the second side's stripe count", "", "0 to 9", "dato4 = 10 x strisces + strisced"},
};
constexpr voce_valore v_indicatore_km[] = {
    {"position", "the board's position; it stands in cell position / 50 + 1", "m", "0 to the route's end", ""},
    {"text", "what the board shows, to the end of the line", "", "text without a comma",
     "single-byte text in the station table, from slot 80 down, cut to its length field", L::testo},
};
constexpr voce_valore v_massa_frenata[] = {
    {"value", "the braked-mass percentage: the fastest run's braking comes from it", "%",
     "30 to 200 for trains in service", ""},
};
constexpr voce_valore v_vetture[] = {
    {"value", "the number of cars; the fastest run counts 26.4 m a car", "", "a whole number above 0", ""},
};
constexpr voce_valore v_velocita[] = {
    {"position", "where this limit begins; the one before runs to the cell before", "m", "0 to the route's end",
     "it starts in cell position / 50, rounded half to even"},
    {"speed", "the line speed limit from here on", "km/h", "0 to 1277; multiples of 5 are kept exactly",
     "each cell keeps the speed divided by 5, rounded half to even, in one byte"},
};
constexpr voce_valore v_aderenza[] = {
    {"position", "where this adhesion begins; the one before runs to the cell before", "m",
     "0 to the route's end", "it starts in cell position / 50, rounded half to even"},
    {"adhesion", "the adhesion from here on (the built-in train keeps 100)", "", "0 to 255",
     "each cell keeps its low 8 bits"},
};
constexpr voce_valore v_orologio[] = {
    {"hours", "the clock's hours when the run begins", "h", "0 to 23", "", L::intero_16},
    {"minutes", "the clock's minutes", "min", "0 to 59", "", L::intero_16},
    {"seconds", "the clock's seconds", "s", "0 to 59", "", L::intero_16},
};
constexpr voce_valore v_sabbia[] = {
    {"value", "the sand carried, as the simulator counts it (the built-in train carries 200)", "",
     "0 to 32767", "", L::intero_16},
};
constexpr std::string_view codice_09 = "0 to 9";
constexpr voce_valore v_segnale[] = {
    {"posizione", "the signal's position; it stands in cell posizione / 50 + 1, its approach marks 100 to 400 m before",
     "m", "325 up to the route's end", ""},
    {"sx", "the kind code of the first side; 2 makes tempo count", "", "0 to 2",
     "dato4 = 10 x rapp + 3 x sx + dx; approach marks 30 x sx + 10 x dx + 1 to 4"},
    {"s1", "the first side's first code", "", codice_09, "dato1 = 10 x s1 + d1"},
    {"s2", "the first side's second code", "", codice_09, "dato2 = 10 x s2 + d2"},
    {"s3", "the first side's third code", "", codice_09, "dato3 = 10 x s3 + d3"},
    {"rapp", "a further code", "", codice_09, "dato4 = 10 x rapp + 3 x sx + dx"},
    {"dx", "the kind code of the second side", "", "0 to 2",
     "dato4 = 10 x rapp + 3 x sx + dx; approach marks 30 x sx + 10 x dx + 1 to 4"},
    {"d1", "the second side's first code", "", codice_09, "dato1 = 10 x s1 + d1"},
    {"d2", "the second side's second code", "", codice_09, "dato2 = 10 x s2 + d2"},
    {"d3", "the second side's third code", "", codice_09, "dato3 = 10 x s3 + d3"},
    {"tempo", "a timing value, kept only when sx is 2", "", "0, or 101 to 255",
     "kept when sx is 2, 1 to 100 raised to 101, in its low 8 bits; else 0"},
};
constexpr voce_valore v_rallentamento[] = {
    {"x", "the slow order's start; it stands in cell x / 50 + 1, its warning board 1200 m before", "m",
     "above 1500 for a warning board; best a multiple of 50", ""},
    {"v", "its speed; below 110 the packer adds points along it", "km/h", "0 to 32767", "its low 16 bits"},
    {"l", "its length: the end stands at x + l", "m", "25 or more (a shorter one ends on its start)", ""},
    {"f_tt", "1 when the whole train keeps to the speed until its tail clears the end", "", "0 or 1",
     "its low 16 bits, on the start and the end"},
    {"f_ta", "1 to lay four countdown cells before the warning board", "", "0 or 1",
     "ignored at a start of 1500 m or less, which has no warning board"},
    {"d_v", "a second speed on the warning board, start and end; 0 for none", "km/h", "0 to 32767",
     "its low 16 bits"},
};
constexpr voce_valore v_abbattimento[] = {
    {"position", "the point's position; it stands in cell position / 50 (no + 1)", "m", "0 to the route's end", ""},
    {"speed", "the speed at the point; below 1 a point with no speed", "km/h", "1 to 32767", "its low 16 bits"},
};
constexpr voce_valore v_stazione[] = {
    {"position (column 1)", "the station's position; its span and point follow from it, its kind and its length",
     "m", "a multiple of 50", ""},
    {"kind (column 2)",
     "below 25 a station point at the span's end (5 and 6 reach back the length, 7 and 8 the length each way); "
     "25 and up touch no cell",
     "", "0 to 255", "", L::intero_8},
    {"length (column 3)", "the station's length, which gives its span", "m", "a multiple of 100",
     "not kept: it gives the span"},
    {"column 4", "kept for the simulator (marca2)", "", "0 to 255", "", L::intero_8},
    {"column 5", "kept for the simulator (ottetto4)", "", "0 to 255",
     "cleared for a length under 600 m and for the first station", L::intero_8},
    {"column 6", "for the ordinary kinds, not 0 moves the span's end 50 m on (ottetto3)", "", "0 to 255",
     "cleared for kinds 5 to 8 and for the first station", L::intero_8},
    {"column 7", "kept for the simulator (intero1)", "", "-32768 to 32767", "", L::intero_16},
    {"column 8", "kept for the simulator (intero2)", "", "-32768 to 32767", "", L::intero_16},
    {"column 9", "kept for the simulator (ottetto1)", "", "0 to 255", "", L::intero_8},
    {"column 10", "kept for the simulator (intero3)", "", "-32768 to 32767", "", L::intero_16},
    {"column 11", "kept for the simulator (intero4)", "", "-32768 to 32767", "", L::intero_16},
    {"column 12", "kept for the simulator (intero5)", "", "-32768 to 32767", "", L::intero_16},
    {"column 13", "kept for the simulator (ottetto2); the built-in train writes 99, 60 or 30 at its stops on the way",
     "", "0 to 255", "", L::intero_8},
    {"hours (column 14)", "the time of day, hours; 0 0 0 for a station passed", "h", "0 to 23",
     "kept with the minutes and seconds as seconds from midnight"},
    {"minutes (column 15)", "the time of day, minutes", "min", "0 to 59",
     "kept with the hours and seconds as seconds from midnight"},
    {"seconds (column 16)", "the time of day, seconds", "s", "0 to 59",
     "kept with the hours and minutes as seconds from midnight"},
    {"name (column 17)", "the station's name, to the end of the line", "", "text without a comma",
     "single-byte text in the station table, cut to its length field", L::testo},
};

constexpr voce_riga catalogo[] = {
    {tipo_riga::lunghezza, sezione_riga::generale_linea, "lunghezza percorso",
     "the words \"lunghezza\" and \"percorso\", in any case",
     "the route length: it sizes the grid of 50 m cells and the line plan; before any row of the body",
     da(forme_generali, 0, 1), v_lunghezza},
    {tipo_riga::progressiva, sezione_riga::generale_linea, "progressiva chilometrica",
     "\"progressiva\" with \"uno\", \"due\" or \"tre\", in this case",
     "a kilometre reference: from a route position on, the line's own kilometre", da(forme_generali, 1, 3),
     v_progressiva},
    {tipo_riga::sfondo, sezione_riga::generale_linea, "sfondo", "\"sfondo\" with \"uno\", \"due\" or \"tre\", in this case",
     "a scenery background, stored for the simulator as given", da(forme_generali, 4, 3), v_sfondo},
    {tipo_riga::ripetizione, sezione_riga::generale_linea, "ripetizione segnali",
     "\"ripetizione\" and \"segnali\", in this case, with a 4 or a 9 for the codes",
     "the span with cab-signal repetition and its number of codes", da(forme_generali, 7, 2), v_ripetizione},
    {tipo_riga::pendenza, sezione_riga::corpo_linea, "pendenza", "\"pendenza\", in any case",
     "the line's gradient from a position on", da(forme_corpo_linea, 0, 1), v_pendenza},
    {tipo_riga::curva, sezione_riga::corpo_linea, "curva",
     "\"curva\" with a class digit 1 to 6, and an \"s\" for a curve to the left, in any case",
     "a curve of the line plan, from its start over its length", da(forme_corpo_linea, 1, 12), v_curva},
    {tipo_riga::montagna, sezione_riga::corpo_linea, "montagna", "\"montagna\", in any case",
     "a mountain span: a tunnel, or the line through the mountains", da(forme_corpo_linea, 13, 1), v_montagna},
    {tipo_riga::cartello_vmax, sezione_riga::corpo_linea, "indicatori_vmax", "\"indicatori_v\", in any case",
     "a board of maximum speeds: three speeds and a stripe count for each side of the track",
     da(forme_corpo_linea, 14, 1), v_cartello_vmax},
    {tipo_riga::indicatore_km, sezione_riga::corpo_linea, "cartello_indicatore",
     "\"cartello\" and \"indicat\", in any case", "a kilometre board showing its text", da(forme_corpo_linea, 15, 1),
     v_indicatore_km},
    {tipo_riga::massa_frenata, sezione_riga::treno, "percentuale massa frenata",
     "\"frenata\" and \"massa\", in any case", "the braked-mass percentage of the train", da(forme_treno, 1, 1),
     v_massa_frenata},
    {tipo_riga::vetture, sezione_riga::treno, "numero vetture", "\"vetture\", in any case", "the number of cars",
     da(forme_treno, 0, 1), v_vetture},
    {tipo_riga::velocita, sezione_riga::treno, "velocita", "\"velocit\", in any case",
     "the line speed limit from a position on", da(forme_treno, 2, 1), v_velocita},
    {tipo_riga::aderenza, sezione_riga::treno, "aderenza", "\"aderenza\", in any case",
     "the adhesion from a position on", da(forme_treno, 3, 1), v_aderenza},
    {tipo_riga::orologio, sezione_riga::treno, "orologio", "\"orologio\", in any case",
     "the clock when the run begins", da(forme_treno, 4, 1), v_orologio},
    {tipo_riga::sabbia, sezione_riga::treno, "sabbia", "\"sabbia\", in any case", "the sand carried",
     da(forme_treno, 5, 1), v_sabbia},
    {tipo_riga::segnale, sezione_riga::treno, "segnale", "\"segnale\", in any case",
     "a signal: its position and its two sides' codes", da(forme_treno, 6, 1), v_segnale},
    {tipo_riga::rallentamento, sezione_riga::treno, "rallentamento", "\"rallentamento\", in any case",
     "a slow order: its start, speed, length and flags", da(forme_treno, 7, 1), v_rallentamento},
    {tipo_riga::abbattimento, sezione_riga::treno, "abbattimento", "\"abbattimento\", in any case",
     "a speed-reduction point", da(forme_treno, 8, 1), v_abbattimento},
    {tipo_riga::stazione, sezione_riga::treno, "stazione", "\"stazione\", in any case",
     "a station: its place, kind and length, ten values kept for the simulator, its time and name",
     da(forme_treno, 9, 1), v_stazione},
};

constexpr voce_intestazione intestazioni_linea_[] = {
    {"[generale]", "the general section: route length, kilometre references, backgrounds, cab signals"},
    {"[curve]", "the curves; by custom the first heading, which ends the general section"},
    {"[pendenze]", "the gradients"},
    {"[montagne]", "the mountain spans"},
    {"[cartelli]", "the maximum-speed boards"},
    {"[indicazioni]", "the kilometre boards"},
    {"[fine]", "the end of the source: the last field, never read as a row"},
};
constexpr voce_intestazione intestazioni_treno_[] = {
    {"[generale]", "from here on every row of the train is read, in any order"},
    {"[aderenze]", "the adhesion"},
    {"[vel_limite]", "the line speed limits"},
    {"[stazioni]", "the stations, in route order"},
    {"[rallentamenti]", "the slow orders"},
    {"[segnali]", "the signals"},
    {"[codici]", "by custom empty, before the end"},
    {"[fine]", "the end of the source: the last field, never read as a row"},
};

// ---- what the packer makes of a value ----

// Values the scan read may be anything a field holds; beyond this no
// arithmetic below is attempted.
constexpr int64_t valore_massimo = int64_t{1} << 40;

std::string cella(int64_t c) { return "cell " + std::to_string(c) + " (" + std::to_string(c * 50) + " m)"; }

// "23 (a limit of 115 km/h reads 115)": a speed as a cell keeps its fifth.
int64_t quinto(int64_t v) { return static_cast<int64_t>(arrotonda(static_cast<double>(v) / 5.0)); }

std::string bassi_16_testo(int64_t v) {
  const int64_t b = bassi_16(v);
  return b == v ? std::string() : "kept in 16 bits as " + std::to_string(b);
}

std::string ora(int64_t secondi) {
  char b[48];
  const int64_t s = std::llabs(secondi);
  std::snprintf(b, sizeof b, "%s%lld:%02lld:%02lld", secondi < 0 ? "-" : "", static_cast<long long>(s / 3600),
                static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
  return b;
}

// The span of a station of kind `marca` at `p`, `l` long, as the parser works it out.
void campata(int64_t p, int64_t l, int64_t marca, int64_t colonna6, int64_t& inizio, int64_t& fine) {
  if (marca == 5 || marca == 6) {
    inizio = p - l;
    fine = p + 150;
  } else if (marca == 7 || marca == 8) {
    inizio = p - l;
    fine = p + l;
  } else {
    inizio = static_cast<int64_t>(arrotonda(static_cast<double>(p) - static_cast<double>(l) / 2.0));
    fine = static_cast<int64_t>(arrotonda(static_cast<double>(p) + static_cast<double>(l) / 2.0));
    if (colonna6 != 0) fine += 50;
  }
}

std::string stazione(int i, std::span<const int64_t> v) {
  if (i >= 13 && i <= 15 && v.size() >= 16) {
    const int64_t s = v[13] * 3600 + v[14] * 60 + v[15];
    if (s == 0) return "no time: the train passes";
    return "the time is kept as " + std::to_string(s) + " s from midnight (" + ora(s) + ")";
  }
  if ((i <= 2 || i == 5) && v.size() >= 6) {
    int64_t inizio = 0, fine = 0;
    campata(v[0], v[2], v[1], v[5], inizio, fine);
    std::string t = "span " + std::to_string(inizio) + " to " + std::to_string(fine) + " m";
    if (v[1] >= 0 && v[1] < 25) t += "; station point in " + cella(cella_di(static_cast<double>(fine) / 50.0 - 1));
    else t += "; no cell is touched";
    return t;
  }
  if (i == 4 && v.size() >= 5 && v[2] < 600 && v[4] != 0) return "cleared: the length is under 600 m";
  return {};
}

}  // namespace

std::span<const voce_riga> catalogo_righe() { return catalogo; }

const voce_riga& voce_di(tipo_riga t) {
  const auto i = static_cast<std::size_t>(t);
  return i < std::size(catalogo) ? catalogo[i] : catalogo[0];
}

std::span<const forma_parola> forme_sezione(sezione_riga s) {
  switch (s) {
    case sezione_riga::generale_linea: return forme_generali;
    case sezione_riga::corpo_linea: return forme_corpo_linea;
    case sezione_riga::treno: return forme_treno;
  }
  return {};
}

std::span<const voce_intestazione> intestazioni_linea() { return intestazioni_linea_; }
std::span<const voce_intestazione> intestazioni_treno() { return intestazioni_treno_; }

std::span<const std::string_view> parole_generali() { return parole_generali_; }
std::span<const std::string_view> parole_corpo_linea() { return parole_corpo_linea_; }
std::span<const std::string_view> parole_treno() { return parole_treno_; }

std::string valore_memorizzato(tipo_riga t, int i, std::span<const int64_t> v) {
  if (i < 0 || static_cast<std::size_t>(i) >= v.size()) return {};
  for (const int64_t x : v)
    if (x > valore_massimo || x < -valore_massimo) return {};
  const int64_t x = v[static_cast<std::size_t>(i)];
  auto ha = [&v](std::size_t n) { return v.size() >= n; };
  switch (t) {
    case tipo_riga::lunghezza:
      return "the grid has cells 0 to " + std::to_string(cella_di(static_cast<double>(x + 7000) / 50.0)) +
             "; the line plan runs to " + std::to_string(x + 7000) + " m";
    case tipo_riga::pendenza:
      if (i == 0) return "it starts in " + cella(cella_di(static_cast<double>(x) / 50.0));
      if (bassi_8(x + 100) == x + 100) return "kept as " + std::to_string(x + 100) + " (the gradient plus 100)";
      return "kept as " + std::to_string(bassi_8(x + 100)) + ", which reads back as a gradient of " +
             std::to_string(int64_t{bassi_8(x + 100)} - 100);
    case tipo_riga::montagna:
      if (i == 0) return "its first cell is " + cella(cella_di(static_cast<double>(x) / 50.0));
      if (i == 1) return "its last cell is " + cella(cella_di(static_cast<double>(x) / 50.0 - 1));
      if (x > 10) return "kept as type " + std::to_string(bassi_8(x - 10)) + ", with a marker every 200 m";
      return bassi_8(x) == x ? std::string() : "kept in 8 bits as " + std::to_string(bassi_8(x));
    case tipo_riga::cartello_vmax: {
      if (i == 0) return "the board stands in " + cella(cella_di(static_cast<double>(x) / 50.0 + 1));
      if (!ha(9)) return {};
      static constexpr const char* dati[] = {"dato1", "dato2", "dato3"};
      if (i == 4 || i == 8) return "dato4 = 10 x " + std::to_string(v[4]) + " + " + std::to_string(v[8]) + " = " +
                                   std::to_string(10 * v[4] + v[8]);
      const int k = i <= 3 ? i - 1 : i - 5;
      const int64_t s = v[static_cast<std::size_t>(1 + k)], d = v[static_cast<std::size_t>(5 + k)];
      const int64_t dato = static_cast<int64_t>(arrotonda(20.0 * static_cast<double>(s) + static_cast<double>(d) / 5.0));
      return std::string(dati[k]) + " = 20 x " + std::to_string(s) + " + " + std::to_string(d) + " / 5 = " +
             std::to_string(dato);
    }
    case tipo_riga::indicatore_km:
      if (i == 0) return "the board stands in " + cella(cella_di(static_cast<double>(x) / 50.0 + 1));
      return {};
    case tipo_riga::velocita:
      if (i == 0) return "it starts in " + cella(cella_di(static_cast<double>(x) / 50.0));
      if (quinto(x) * 5 == x) return "kept as " + std::to_string(quinto(x)) + " (the speed divided by 5)";
      return "kept as " + std::to_string(quinto(x)) + " (the speed divided by 5, rounded): it reads " +
             std::to_string(quinto(x) * 5) + " km/h";
    case tipo_riga::aderenza:
      if (i == 0) return "it starts in " + cella(cella_di(static_cast<double>(x) / 50.0));
      return bassi_8(x) == x ? std::string() : "kept in 8 bits as " + std::to_string(bassi_8(x));
    case tipo_riga::segnale: {
      if (i == 0) {
        const int64_t c = cella_di(static_cast<double>(x) / 50.0 + 1);
        return "the signal stands in " + cella(c) + ", its approach marks in cells " + std::to_string(c - 2) +
               " to " + std::to_string(c - 8);
      }
      if (!ha(11)) return {};
      if (i == 10) {
        if (v[1] != 2) return "not kept: sx is not 2";
        const int64_t tempo = x >= 1 && x <= 100 ? 101 : x;
        return "kept as " + std::to_string(bassi_8(tempo));
      }
      if (i == 1 || i == 5 || i == 6)
        return "dato4 = 10 x " + std::to_string(v[5]) + " + 3 x " + std::to_string(v[1]) + " + " +
               std::to_string(v[6]) + " = " + std::to_string(10 * v[5] + 3 * v[1] + v[6]) + "; approach marks " +
               std::to_string(30 * v[1] + 10 * v[6] + 1) + " to " + std::to_string(30 * v[1] + 10 * v[6] + 4);
      const int k = i <= 4 ? i - 2 : i - 7;  // s1..s3 or d1..d3
      static constexpr const char* dati[] = {"dato1", "dato2", "dato3"};
      const int64_t s = v[static_cast<std::size_t>(2 + k)], d = v[static_cast<std::size_t>(7 + k)];
      return std::string(dati[k]) + " = 10 x " + std::to_string(s) + " + " + std::to_string(d) + " = " +
             std::to_string(10 * s + d);
    }
    case tipo_riga::rallentamento:
      if (i == 0) {
        std::string t = "the start stands in " + cella(cella_di(static_cast<double>(x) / 50.0 + 1));
        if (x > 1500) t += ", the warning board in " + cella(cella_di(static_cast<double>(x - 1200) / 50.0 + 1));
        else t += "; no warning board";
        return t;
      }
      if (i == 2) return "the end stands in " + cella(cella_di(static_cast<double>(v[0] + x) / 50.0 + 1));
      if (i == 4 && v[0] <= 1500 && x != 0) return "ignored: no warning board at a start of 1500 m or less";
      if (i == 1 || i == 3 || i == 5) return bassi_16_testo(x);
      return {};
    case tipo_riga::abbattimento:
      if (i == 0) return "the point stands in " + cella(cella_di(static_cast<double>(x) / 50.0));
      if (x < 1) return "a point with no speed";
      return bassi_16_testo(x);
    case tipo_riga::stazione:
      return stazione(i, v);
    default:
      return {};
  }
}
