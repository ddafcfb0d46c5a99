// The fastest run of a compiled scenario's train, against its timetable:
// for each section between two stops, the distance, the scheduled and the
// fastest running time, the recovery margin and what is left; for each
// station passed, the fastest and the scheduled passing time; and what
// decides each section.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analisi/corsa.h"
#include "formato/scenario.h"

// The built-in timetable keeps two minutes at every stop.
inline constexpr double sosta_predefinita_s = 120.0;
// A coach's length over buffers.
inline constexpr double lunghezza_vettura_predefinita_m = 26.4;
// The top speed when neither an option nor the route gives one (no limit laid anywhere).
inline constexpr double velocita_massima_di_ripiego_kmh = 160.0;

// A reference train, made of its cars as the train source counts them. Each
// car weighs `massa_vettura_t` loaded, a share `quota_aderente` of it on
// driven axles, and brings `potenza_vettura_kw` and `sforzo_vettura_kn`; a
// locomotive adds its own. The running resistance is Sauthoff's (below).
struct dati_riferimento {
  const char* nome;  // on the command line: "unit", "locomotive"
  const char* descrizione;
  double massa_locomotiva_t;
  double potenza_locomotiva_kw;
  double sforzo_locomotiva_kn;
  double massa_vettura_t;
  double quota_aderente;
  double potenza_vettura_kw;
  double sforzo_vettura_kn;
  double masse_rotanti;
  double velocita_massima_kmh;
};

// The regional electric multiple unit and the locomotive with coaches.
const dati_riferimento& dati_di(treno_riferimento t);
std::optional<treno_riferimento> riferimento_di_nome(std::string_view nome);

// The reference train for a train source's cars and braked mass when none
// is given: a short, well-braked train (1 to 6 cars, a braked mass of 120 %
// or more, as multiple units have with their disc and electric brakes) is
// taken for a multiple unit; any other for a locomotive hauling its cars.
inline constexpr int32_t vetture_massime_elettrotreno = 6;
inline constexpr int32_t massa_frenata_minima_elettrotreno = 120;
treno_riferimento riferimento_per(int32_t vetture, int32_t percentuale_massa_frenata);

// Sauthoff's running resistance of a passenger train of `massa_t` tonnes
// with `vetture` cars besides its locomotive, in the form A + B V + C V² (kN,
// V in km/h): w = 1.9 + 0.0025 V + 0.0048 (n + 2.7) A (V + 15)² / m, in N per
// kN of weight, with the frontal factor A = 1.45 m² and a head wind of 15 km/h.
struct resistenza_davis {
  double a = 0.0, b = 0.0, c = 0.0;
};
resistenza_davis resistenza_sauthoff(double massa_t, int32_t vetture);

// The recovery margin when none is given, after UIC leaflet 451-1 for
// passenger trains: a share of the fastest time that rises with the top
// speed (3 % up to 120 km/h, 4 % up to 160, 5 % up to 200, 6 % up to 250, 7 %
// above), and 1.5 minutes per 100 km.
margine_recupero margine_predefinito(double velocita_massima_kmh);

// Values that replace the scenario's or the defaults; each one not given is
// taken from the scenario, its reference train or its default.
struct opzioni_marcia {
  std::optional<double> accelerazione;              // m/s², at standstill on the level: sets the tractive effort there
  std::optional<double> decelerazione;              // m/s², instead of the one from the braked mass
  std::optional<double> percentuale_massa_frenata;  // instead of the train source's
  std::optional<double> sosta_s;
  std::optional<double> velocita_massima_kmh;       // default: the route's highest line limit, within the train's
  std::optional<double> lunghezza_vettura_m;
  std::optional<treno_riferimento> riferimento;
  std::optional<double> massa_t;
  std::optional<double> massa_aderente_t;
  std::optional<double> potenza_kw;
  std::optional<double> sforzo_trazione_kn;
  std::optional<double> aderenza;
  std::optional<double> masse_rotanti;
  std::optional<double> resistenza_a_kn;            // the three together
  std::optional<double> resistenza_b_kn;
  std::optional<double> resistenza_c_kn;
  std::optional<double> resistenza_curve;
  std::optional<bool> rilascio_in_coda;
  std::vector<sosta_fermata> soste;                 // the last given for a stop holds
  std::optional<margine_recupero> margine;
};

// The train of the scenario: its cars and braked mass from the train source,
// its reference train from them, the rest from the options, the reference
// train or the defaults, all within limits.
modello_treno modello_da_scenario(const scenario& f, const opzioni_marcia& o = {});

// The route as the run sees it (positions in metres, cell i at i × 50 m): a
// stretch per run of cells with the same limit and gradient, the slow orders,
// the speed-reduction points, the curves of the line plan (when the build
// made it) and the stops' positions.
profilo_corsa profilo_da_scenario(const scenario& f);

// A station of the table, with its time as given (0: passed) and, for a stop,
// its time unfolded over midnight (seconds from the midnight before the first stop).
struct stazione_marcia {
  int slot = 0;
  std::string nome;
  int32_t posizione_m = 0;
  int32_t codice = 0;
  double ora_s = 0.0;
};

// The stations of the table in running order: from the first station slot up
// to the first empty slot, never into the kilometre boards' texts.
std::vector<stazione_marcia> stazioni_del_percorso(const scenario& f);

// What is wrong with a stop's time: it comes before the stop before it and
// reads as no crossing of midnight (more than 12 hours back), or it would
// cross midnight a second time (then it is unfolded all the same).
enum class anomalia_orario { ora_indietro, seconda_mezzanotte };

struct anomalia_fermata {
  int slot = 0;
  anomalia_orario tipo = anomalia_orario::ora_indietro;
};

struct passaggio {
  stazione_marcia stazione;
  double ora_piu_veloce_s = 0.0;  // departure + the fastest run's time to the station
  double ora_orario_s = 0.0;      // ... with the margin spread, to the minute
};

struct sezione {
  stazione_marcia da, a;
  double distanza_m = 0.0;
  double partenza_s = 0.0;       // the departure from `da`
  double sosta_s = 0.0;          // the dwell at `a` (0 at the last stop)
  bool arrivo_derivato = false;  // the arrival at `a` is its departure less the dwell, not a time read
  double tempo_orario_s = 0.0;   // the arrival less this departure
  double tempo_minimo_s = 0.0;   // the fastest run
  double margine_s = 0.0;        // scheduled less fastest
  double margine_percento = 0.0; // of the fastest time (0 when that is 0)
  bool mantenibile = true;       // margin not below 0
  double recupero_s = 0.0;       // the recovery margin over the fastest run
  double tempo_con_recupero_s = 0.0;  // fastest plus recovery
  double residuo_s = 0.0;        // scheduled less fastest plus recovery
  bool con_recupero = true;      // what is left not below 0 (a section of no length always)
  // When it cannot be kept: the longest dwell at `a` that would keep it, to
  // the second below (none at the last stop, or when even no dwell would do).
  std::optional<double> sosta_che_tiene_s;
  std::vector<passaggio> passaggi;
};

// A point of the fastest run over the whole run: position, speed, time of
// day and what the train does from there to the next point (see
// punto_velocita). Each section's run leaves at the section's scheduled
// departure, so at a stop the arrival and the next departure are two points
// at the same position.
struct punto_marcia {
  double posizione_m = 0.0;
  double velocita_kmh = 0.0;
  double ora_s = 0.0;
  regime_corsa regime = regime_corsa::fermo;
  bool inizio_frenatura = false;
};

struct marcia {
  modello_treno modello;                   // the values used
  std::vector<sezione> sezioni;
  std::vector<punto_marcia> profilo;
  std::vector<intervallo> senza_limite;    // stretches of the run with no limit laid
  std::vector<anomalia_fermata> anomalie;
  std::vector<stazione_marcia> fuori_corsa;  // stations before the first stop or after the last
  std::vector<sosta_fermata> soste_ignote;   // dwells given for no stop that has one
};

// What decides a section of a run: its time with no restriction, what each
// restriction costs, and for a section that cannot be kept, the traction
// that would keep it.
struct decisione_sezione {
  double tempo_senza_restrizioni_s = 0.0;
  std::vector<costo_restrizione> restrizioni;  // greatest cost first
  // Cannot be kept: the least factor on the tractive effort that keeps it
  // (none when no factor up to 20 does).
  std::optional<double> trazione_che_tiene;
};

// The fastest run of the scenario `f` with the train `m`, section by section.
// Every number is finite whatever the scenario holds. With `decisioni`, what
// decides each section too, worked out with the run.
marcia calcola_marcia(const scenario& f, const modello_treno& m, std::vector<decisione_sezione>* decisioni = nullptr);

// What decides each section of the run `m` of `f` (the run worked out again).
std::vector<decisione_sezione> decidi_sezioni(const scenario& f, const marcia& m);
