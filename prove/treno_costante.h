// A train that accelerates and brakes at constant rates: the one the run's
// worked examples are worked by hand with. No running resistance, no rotating
// masses, a tractive effort that gives the acceleration on the level with no
// adhesion's limit, and a power that never limits below 600 km/h (for up to
// about 1000 t at 0.5 m/s²).
#pragma once

#include <string>
#include <vector>

#include "analisi/marcia.h"

inline constexpr double potenza_che_non_limita_kw = 100000.0;

inline modello_treno treno_costante(double a, double b, double v_max = 300.0, double lunghezza = 0.0,
                                    bool coda = true) {
  modello_treno m;
  m.massa_t = 1000.0;
  m.massa_aderente_t = 1000.0;
  m.masse_rotanti = 1.0;
  m.resistenza_a_kn = m.resistenza_b_kn = m.resistenza_c_kn = 0.0;
  m.aderenza = 0.0;
  m.potenza_kw = potenza_che_non_limita_kw;
  m.sforzo_trazione_kn = a * m.massa_t;
  m.decelerazione = b;
  m.velocita_massima_kmh = v_max;
  m.lunghezza_treno_m = lunghezza;
  m.rilascio_in_coda = coda;
  return m;
}

// The same train over a scenario, as options: the acceleration and braking given.
inline opzioni_marcia opzioni_costanti(double a, double b) {
  opzioni_marcia o;
  o.accelerazione = a;
  o.decelerazione = b;
  o.potenza_kw = potenza_che_non_limita_kw;
  o.resistenza_a_kn = o.resistenza_b_kn = o.resistenza_c_kn = 0.0;
  o.masse_rotanti = 1.0;
  return o;
}

// ... and as the command line gives them.
inline std::vector<std::string> opzioni_costanti_comando(const std::string& a, const std::string& b) {
  return {"--acceleration", a, "--braking", b, "--power", "100000", "--resistance", "0,0,0", "--rotating-mass", "1"};
}
