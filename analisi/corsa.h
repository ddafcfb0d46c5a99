// The fastest run of a train over a plain speed profile: from standstill at
// each stop to standstill at the next, full acceleration up to the most
// restrictive limit, holding it, braking in time for every lower limit ahead
// and for the stop.
//
// The motion is integrated exactly. On a stretch where the limit and the
// acceleration are constant, v² is linear in the distance, so the run is the
// lower envelope of straight lines in v²: the limit, the acceleration line from
// behind and the braking line from ahead. Their crossings are found in closed
// form, and the time over a stretch where v² is linear is 2 Δx / (v0 + v1).
#pragma once

#include <cstdint>
#include <vector>

// Gravity, for the share of the weight that a gradient adds to or takes from
// the train's acceleration and braking: g × gradient (per mille) / 1000.
inline constexpr double gravita = 9.81;  // m/s²
// Neither the residual acceleration on a climb nor the residual braking on a
// descent falls below this: a climb too steep for the train, or a descent too
// steep for its brakes, is run as if the train still made way, so that the
// run always ends with finite times. A run that meets the floor is optimistic there.
inline constexpr double accelerazione_residua_minima = 0.05;  // m/s²
// A limit below 1 km/h (0 or negative, which the format can hold but no
// author means) is run at 1 km/h: the run then ends, slowly.
inline constexpr double velocita_minima_kmh = 1.0;

// Service braking from the braked-mass percentage λ. The relation has the form
// of the classic empirical braking-distance formula of continental European
// braking practice, s = 3.85 V² / (6.1 ψ (1 + λ / 10) + i) (s in m, V in km/h,
// i the gradient per mille, ψ the brake type's coefficient, here 1): its
// denominator is the mean deceleration of a full application in units of
// 1/99.792 m/s², about hundredths (3.85 × 2 × 3.6² = 99.792), the gradient's
// term being g × i / 1000. A
// service application is taken as three quarters of it. It is used from 30 %
// to 200 %; a percentage outside is clamped (0 %, when the train source gives
// none, counts as 30 %), one that is not a number counts as 100 %.
inline constexpr double massa_frenata_minima = 30.0;   // per cent
inline constexpr double massa_frenata_massima = 200.0;
inline constexpr double quota_frenatura_servizio = 0.75;
constexpr double massa_frenata_nei_limiti(double lambda) {
  if (!(lambda == lambda)) return 100.0;  // not a number
  return lambda < massa_frenata_minima ? massa_frenata_minima
         : lambda > massa_frenata_massima ? massa_frenata_massima
                                         : lambda;
}
constexpr double decelerazione_da_massa_frenata(double lambda) {
  return quota_frenatura_servizio * 6.1 * (1.0 + massa_frenata_nei_limiti(lambda) / 10.0) / (3.85 * 2.0 * 3.6 * 3.6);
}

// The train as the run sees it. The run uses the acceleration, the braking,
// the top speed and the train's length; the rest states where the values came
// from, so that a result can say which it used.
struct modello_treno {
  double accelerazione = 0.4;        // m/s², full acceleration on the level
  double decelerazione = decelerazione_da_massa_frenata(100.0);  // m/s², service braking on the level
  double velocita_massima_kmh = 160.0;
  double sosta_s = 120.0;            // dwell at every stop but the last
  double lunghezza_treno_m = 0.0;    // how far beyond its end a slow order for the whole train lasts
  // Where the braking and the length came from.
  double percentuale_massa_frenata = 100.0;  // braked-mass percentage used for the braking
  int32_t percentuale_letta = 0;           // ... as the train source gave it
  int32_t vetture = 0;
  double lunghezza_vettura_m = 26.4;
};

// What a train can be: the bounds that a model's values are brought within
// (besides the floor of 0.05 m/s² and the speed of 1 km/h above).
inline constexpr double accelerazione_massima = 5.0;           // m/s², also for braking
inline constexpr double velocita_massima_ammessa_kmh = 600.0;
inline constexpr double sosta_massima_s = 86400.0;
inline constexpr double lunghezza_vettura_massima_m = 1000.0;

// The model with every value brought within what a train can be: an absurd
// or non-numeric value (a negative acceleration, a top speed of 10000 km/h)
// is clamped, and a value that is not a number takes the default.
modello_treno modello_nei_limiti(const modello_treno& m);

// A stretch of line with its limit and gradient. A limit of 0 means no limit
// laid: the train runs at its top speed there, and the run reports the stretch.
struct tratto_profilo {
  double inizio_m = 0.0;
  double fine_m = 0.0;
  double limite_kmh = 0.0;
  double pendenza_permille = 0.0;  // positive: climbing

  bool operator==(const tratto_profilo&) const = default;
};

// A slow order from its start to its end. One to be respected with the whole
// train lasts until the train's tail has cleared the end.
struct rallentamento_profilo {
  double inizio_m = 0.0;
  double fine_m = 0.0;
  double velocita_kmh = 0.0;
  bool treno_intero = false;

  bool operator==(const rallentamento_profilo&) const = default;
};

// A point the train must pass at no more than its speed.
struct punto_limite {
  double posizione_m = 0.0;
  double velocita_kmh = 0.0;

  bool operator==(const punto_limite&) const = default;
};

// What the run is computed over. The stretches stand in ascending order and
// do not overlap (where they do, the one that starts last holds); where none
// covers the line (before the first, in a gap, beyond the last) there is no
// limit laid and the line is level. Stops are in running order.
struct profilo_corsa {
  std::vector<tratto_profilo> tratti;
  std::vector<rallentamento_profilo> rallentamenti;
  std::vector<punto_limite> punti;
  std::vector<double> fermate;
};

// A breakpoint of the run: v² runs linearly in the distance from one
// breakpoint to the next.
struct punto_velocita {
  double posizione_m = 0.0;
  double velocita_kmh = 0.0;
  double tempo_s = 0.0;  // from the departure of the leg
};

// The fastest run from one stop to the next. A next stop that is not beyond
// this one gives a leg of no length: no motion, time 0.
struct tratta_corsa {
  double da_m = 0.0;
  double a_m = 0.0;
  double tempo_s = 0.0;
  std::vector<punto_velocita> punti;  // from da_m (speed 0) to a_m (speed 0)
};

struct intervallo {
  double inizio_m = 0.0;
  double fine_m = 0.0;

  bool operator==(const intervallo&) const = default;
};

struct corsa {
  std::vector<tratta_corsa> tratte;      // one per pair of consecutive stops
  std::vector<intervallo> senza_limite;  // stretches run with no limit laid, in running order
};

// The fastest run between each pair of consecutive stops of `p`, for the
// train `m` (brought within limits first). Every number is finite.
corsa calcola_corsa(const profilo_corsa& p, const modello_treno& m);

// The time from the leg's departure at which the run passes `x` (held to the
// leg), and its speed there in km/h.
double tempo_in(const tratta_corsa& t, double x);
double velocita_in(const tratta_corsa& t, double x);
