// The fastest run of a train over a plain speed profile: from standstill at
// each stop to standstill at the next, full traction up to the most
// restrictive limit, holding it, braking in time for every lower limit ahead
// and for the stop.
//
// The train pulls with the tractive effort its drive and the adhesion allow
// at low speed and its power above (F = P / v), against its running resistance
// A + B V + C V², the gradient and the curves. Over a stretch where the limit,
// the gradient and the curves are constant the acceleration depends on the
// speed alone, so the distance and the time to go from one speed to another
// are plain integrals over the speed, ∫ v / a dv and ∫ 1 / a dv: they are
// worked out once per kind of stretch, piece by piece in the speed (at most
// 2 m/s a piece, split where the force changes its law, closer and closer as
// the speed nears the one the train can hold there), by five-point
// Gauss–Legendre quadrature. Braking is at a constant rate over such a
// stretch, so v² is linear in the distance there and its crossings are found
// in closed form; the time over a stretch where v² is linear is
// 2 Δx / (v0 + v1).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Gravity, for the share of the weight that a gradient adds to or takes from
// the train's acceleration and braking: g × gradient (per mille) / 1000.
inline constexpr double gravita = 9.81;  // m/s²
// The service braking never falls below this on a descent too steep for the
// brakes, and a train whose traction cannot start it on a climb still makes
// way: it is given this much at standstill, falling to nothing at the crawl
// speed below, so that it crawls up the climb. A run that meets either floor
// is optimistic there; every run ends with finite times.
inline constexpr double accelerazione_residua_minima = 0.05;  // m/s²
inline constexpr double velocita_strisciamento_kmh = 10.0;
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

// The adhesion a drive can use at low speed: a third of the weight on its
// driven axles, the value of Curtius and Kniffler's dry-rail curve at
// standstill (0.161 + 7.5 / 44). Their curve falls with speed (0.21 at
// 100 km/h); that fall belongs to drives without slip control: a modern drive
// keeps about this much until its power takes over, and the run keeps it.
inline constexpr double aderenza_di_riferimento = 0.161 + 7.5 / 44.0;

// Curve resistance by Röckl's formula for standard gauge, in N per kN of the
// train's weight (per mille, as a gradient): k / (R − 55) for a radius R of
// 300 m and more, k × 500 / 650 / (R − 30) below, with k = 650.
inline constexpr double resistenza_curve_rockl = 650.0;

// The reference trains whose traction and resistance the run takes when the
// command line gives none (see marcia.h for their values and the rule that
// picks one).
enum class treno_riferimento : uint8_t { elettrotreno, locomotiva };

// A dwell given for one stop, by the stop's name (single-byte text as the
// station table holds it; compared ignoring the case of plain letters).
struct sosta_fermata {
  std::string nome;
  double secondi = 0.0;

  bool operator==(const sosta_fermata&) const = default;
};

// A recovery margin over the fastest run: a share of its time and a time per
// distance, added.
struct margine_recupero {
  double percento = 0.0;
  double minuti_per_100_km = 0.0;

  bool operator==(const margine_recupero&) const = default;
};

// The train as the run sees it. The run uses the traction and resistance, the
// braking, the top speed, the train's length and the rule for letting go of
// limits; the rest states where the values came from, so that a result can
// say which it used.
struct modello_treno {
  // Traction and resistance: a locomotive of 87 t and 14 coaches of 45 t.
  double massa_t = 717.0;
  double massa_aderente_t = 87.0;         // on the driven axles
  double potenza_kw = 5600.0;             // at the wheel rim
  double sforzo_trazione_kn = 300.0;      // the drive's tractive effort at low speed
  double aderenza = aderenza_di_riferimento;  // 0: the adhesion's limit not applied
  double masse_rotanti = 1.06;            // the rotating-mass factor: inertia over mass
  double resistenza_a_kn = 13.62;         // running resistance A + B V + C V², V in km/h:
  double resistenza_b_kn = 0.0518;        // Sauthoff's formula for this train
  double resistenza_c_kn = 0.00114;
  double resistenza_curve = resistenza_curve_rockl;  // Röckl's k; 0: curves cost nothing
  double decelerazione = decelerazione_da_massa_frenata(100.0);  // m/s², service braking on the level
  double velocita_massima_kmh = 160.0;
  double sosta_s = 120.0;            // dwell at every stop but the last...
  std::vector<sosta_fermata> soste;  // ... but those named here
  margine_recupero margine{5.0, 1.5};  // the recovery margin the timetable is judged by
  double lunghezza_treno_m = 0.0;
  // A limit lower than the one after it holds until the train's tail has
  // cleared its end (line limits and slow orders alike); false: it is let go
  // when the head passes its end, save for slow orders marked for the whole train.
  bool rilascio_in_coda = true;
  // Where the values came from: the reference train, the braking, the length.
  treno_riferimento riferimento = treno_riferimento::locomotiva;
  double percentuale_massa_frenata = 100.0;  // braked-mass percentage used for the braking
  int32_t percentuale_letta = 0;           // ... as the train source gave it
  int32_t vetture = 0;
  double lunghezza_vettura_m = 26.4;
};

// What a train can be: the bounds that a model's values are brought within
// (besides the floors above and the speed of 1 km/h).
inline constexpr double accelerazione_massima = 5.0;           // m/s², also for braking
inline constexpr double velocita_massima_ammessa_kmh = 600.0;
inline constexpr double sosta_massima_s = 86400.0;
inline constexpr double lunghezza_vettura_massima_m = 1000.0;
inline constexpr double massa_minima_t = 1.0;
inline constexpr double massa_massima_t = 20000.0;
inline constexpr double potenza_minima_kw = 1.0;
inline constexpr double potenza_massima_kw = 100000.0;
inline constexpr double sforzo_minimo_kn = 1.0;
inline constexpr double sforzo_massimo_kn = 10000.0;
inline constexpr double aderenza_massima = 0.6;
inline constexpr double masse_rotanti_massime = 1.5;
inline constexpr double resistenza_a_massima_kn = 1000.0;
inline constexpr double resistenza_b_massima_kn = 100.0;
inline constexpr double resistenza_c_massima_kn = 1.0;
inline constexpr double resistenza_curve_massima = 5000.0;
inline constexpr double margine_massimo_percento = 100.0;
inline constexpr double margine_massimo_minuti = 100.0;  // per 100 km

// The model with every value brought within what a train can be: an absurd
// or non-numeric value (a negative mass, a top speed of 10000 km/h) is
// clamped, a value that is not a number takes the default, and the adhesive
// mass is never more than the train's.
modello_treno modello_nei_limiti(const modello_treno& m);

// The tractive effort at `kmh` (kN), and the acceleration there on a level,
// straight line (m/s², within the floor and the bound above).
double sforzo_trazione(const modello_treno& m, double kmh);
double accelerazione_in_piano(const modello_treno& m, double kmh);

// A stretch of line with its limit and gradient. A limit of 0 means no limit
// laid: the train runs at its top speed there, and the run reports the stretch.
struct tratto_profilo {
  double inizio_m = 0.0;
  double fine_m = 0.0;
  double limite_kmh = 0.0;
  double pendenza_permille = 0.0;  // positive: climbing

  bool operator==(const tratto_profilo&) const = default;
};

// A curve of the line, from its start to its end.
struct curva_profilo {
  double inizio_m = 0.0;
  double fine_m = 0.0;
  double raggio_m = 0.0;

  bool operator==(const curva_profilo&) const = default;
};

// A slow order from its start to its end. One to be respected with the whole
// train lasts until the train's tail has cleared the end, whatever the rule.
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
// limit laid and the line is level. Curves do not overlap either. Stops are
// in running order.
struct profilo_corsa {
  std::vector<tratto_profilo> tratti;
  std::vector<rallentamento_profilo> rallentamenti;
  std::vector<punto_limite> punti;
  std::vector<curva_profilo> curve;
  std::vector<double> fermate;
};

// What the train does from a point of the run to the next.
enum class regime_corsa : uint8_t {
  trazione,   // full traction: gaining speed, or holding the most the train can on a climb
  crociera,   // holding a limit
  frenatura,  // braking at the service rate
  fermo,      // standing: the leg's last point
};

// A point of the run. Where the train brakes or holds a speed, v² runs
// straight in the distance to the next point; under traction the points
// stand at most 2 m/s apart, and closer as the speed nears the most the
// train can hold, so that v² straight between them is within a tenth of a
// km/h or so of the run.
struct punto_velocita {
  double posizione_m = 0.0;
  double velocita_kmh = 0.0;
  double tempo_s = 0.0;  // from the departure of the leg
  regime_corsa regime = regime_corsa::fermo;  // from this point to the next
  bool inizio_frenatura = false;              // a braking begins here
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

struct decisivi_tratta;

// The fastest run between each pair of consecutive stops of `p`, for the
// train `m` (brought within limits first). Every number is finite. With
// `decisivi`, what decides each leg too (below), worked out with the run.
corsa calcola_corsa(const profilo_corsa& p, const modello_treno& m, std::vector<decisivi_tratta>* decisivi = nullptr);

// The time from the leg's departure at which the run passes `x` (held to the
// leg), and its speed there in km/h; between two points of the run, v² is
// taken as straight (to a few milliseconds of the run under traction).
double tempo_in(const tratta_corsa& t, double x);
double velocita_in(const tratta_corsa& t, double x);

// A restriction of the profile: a line stretch's limit, a slow order or a
// limited point, by its index in the profile's own list.
enum class tipo_restrizione : uint8_t { limite_linea, rallentamento, punto };

struct costo_restrizione {
  tipo_restrizione tipo = tipo_restrizione::limite_linea;
  std::size_t indice = 0;
  double inizio_m = 0.0;     // where it holds for the train's head: for a limit,
  double fine_m = 0.0;       // to its end and the tail's clearing, if the rule has it
  double velocita_kmh = 0.0;
  double costo_s = 0.0;      // what the leg would gain with it lifted, all else kept
};

// What decides each leg: its time with no restriction at all (the top speed
// alone, the stops, gradients and curves as they are), and the restrictions
// that hold the train back, each with what lifting it alone would gain,
// greatest first (those that gain nothing left out).
struct decisivi_tratta {
  double tempo_senza_restrizioni_s = 0.0;
  std::vector<costo_restrizione> restrizioni;
};

std::vector<decisivi_tratta> restrizioni_decisive(const profilo_corsa& p, const modello_treno& m);

// The least factor on the train's tractive effort by which leg `tratta`
// takes no more than `tempo_s` (to a thousandth), up to `fattore_massimo`;
// none when even that is not enough, the limits and the braking alone
// taking longer.
inline constexpr double fattore_trazione_massimo = 20.0;
std::optional<double> trazione_necessaria(const profilo_corsa& p, const modello_treno& m, std::size_t tratta,
                                          double tempo_s);
