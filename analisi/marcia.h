// The fastest run of a compiled scenario's train, against its timetable:
// for each section between two stops, the distance, the scheduled and the
// fastest running time and the margin; for each station passed, the fastest
// and the scheduled passing time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analisi/corsa.h"
#include "formato/scenario.h"

// The built-in timetable keeps two minutes at every stop.
inline constexpr double sosta_predefinita_s = 120.0;
// Full acceleration on the level of a loco-hauled passenger train.
inline constexpr double accelerazione_predefinita = 0.4;  // m/s²
// A coach's length over buffers.
inline constexpr double lunghezza_vettura_predefinita_m = 26.4;
// The top speed when neither an option nor the route gives one (no limit laid anywhere).
inline constexpr double velocita_massima_di_ripiego_kmh = 160.0;

// Values that replace the scenario's or the defaults; each one not given is
// taken from the scenario or its default.
struct opzioni_marcia {
  std::optional<double> accelerazione;              // m/s²
  std::optional<double> decelerazione;              // m/s², instead of the one from the braked mass
  std::optional<double> percentuale_massa_frenata;  // instead of the train source's
  std::optional<double> sosta_s;
  std::optional<double> velocita_massima_kmh;       // default: the route's highest line limit
  std::optional<double> lunghezza_vettura_m;
};

// The train of the scenario: its braked mass and cars from the train source,
// the rest from the options or the defaults, all within limits.
modello_treno modello_da_scenario(const scenario& f, const opzioni_marcia& o = {});

// The route as the run sees it (positions in metres, cell i at i × 50 m): a
// stretch per run of cells with the same limit and gradient, the slow orders,
// the speed-reduction points, and the stops' positions.
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
  double tempo_orario_s = 0.0;   // the next departure less the dwell (the arrival, at the last stop), less this departure
  double tempo_minimo_s = 0.0;   // the fastest run
  double margine_s = 0.0;        // scheduled less fastest
  double margine_percento = 0.0; // of the fastest time (0 when that is 0)
  bool mantenibile = true;       // margin not below 0
  std::vector<passaggio> passaggi;
};

// A point of the fastest run over the whole run: position, speed and time of
// day; v² runs linearly in the distance from one point to the next. Each
// section's run leaves at the section's scheduled departure, so at a stop the
// arrival and the next departure are two points at the same position.
struct punto_marcia {
  double posizione_m = 0.0;
  double velocita_kmh = 0.0;
  double ora_s = 0.0;
};

struct marcia {
  modello_treno modello;                   // the values used
  std::vector<sezione> sezioni;
  std::vector<punto_marcia> profilo;
  std::vector<intervallo> senza_limite;    // stretches of the run with no limit laid
  std::vector<anomalia_fermata> anomalie;
  std::vector<stazione_marcia> fuori_corsa;  // stations before the first stop or after the last
};

// The fastest run of the scenario `f` with the train `m`, section by section.
// Every number is finite whatever the scenario holds.
marcia calcola_marcia(const scenario& f, const modello_treno& m);
