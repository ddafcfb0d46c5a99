#include "bench/genera_scenario.h"

#include <algorithm>
#include <cstdio>


namespace {

constexpr int32_t blocco = 10000;  // metres of line per block of rows

// A tiny fixed pseudo-random sequence: the same scenario on every machine.
struct sequenza {
  uint32_t x = 12345;
  uint32_t prossimo(uint32_t n) {
    x = x * 1103515245u + 12345u;
    return (x >> 16) % n;
  }
};

struct testo {
  std::string s;
  template <typename... A>
  void riga(const char* formato, A... a) {
    char b[160];
    const int n = std::snprintf(b, sizeof b, formato, a...);
    s.append(b, static_cast<std::size_t>(n));
    s += "\r\n";
  }
};

// Signal patterns as the built-in train uses them: sx, s1, s2, s3, rapp, dx, d1, d2, d3.
constexpr int segnali_tipo[][9] = {
    {2, 4, 1, 0, 0, 1, 3, 1, 0}, {2, 4, 0, 0, 0, 0, 0, 0, 0}, {2, 4, 1, 1, 0, 2, 2, 1, 1},
    {2, 4, 0, 0, 0, 2, 1, 0, 0}, {2, 3, 1, 1, 0, 2, 2, 1, 1},
};

}  // namespace

scenario_generato genera_scenario(int32_t lunghezza) {
  sequenza r;
  const int32_t blocchi = lunghezza / blocco;
  // Stations and board texts share slots 1..79 of the station table.
  const int32_t cartelli = std::min<int32_t>(blocchi / 12, 9);
  const int32_t stazioni = std::min<int32_t>({std::max<int32_t>(blocchi * 137 / 100, 2), 2 * blocchi, 78 - cartelli});

  testo l;
  l.riga("[generale]");
  l.riga("lunghezza percorso,    %d", lunghezza);
  l.riga("progressiva chilometrica uno,    0,    0,    0");
  l.riga("progressiva chilometrica due,    0,    0,    0");
  l.riga("progressiva chilometrica tre,    0,    0,    0");
  l.riga("sfondo uno,    1");
  l.riga("sfondo due,    0");
  l.riga("sfondo tre,    0");
  l.riga("ripetizione segnali 4 codici,    0,    %d", blocchi * blocco - 2000);
  l.riga("[curve]");
  for (int32_t i = 0; i < blocchi; ++i) {
    const int32_t b = i * blocco;
    const char* lato = r.prossimo(2) ? "d" : "s";
    l.riga("curva%s%u, %7d,  %d", lato, 1 + r.prossimo(6), b + 1000 + 50 * int32_t(r.prossimo(10)),
           300 + 50 * int32_t(r.prossimo(24)));
    l.riga("curva%s%u, %7d,  %d", lato[0] == 'd' ? "s" : "d", 1 + r.prossimo(4),
           b + 5000 + 50 * int32_t(r.prossimo(10)), 300 + 50 * int32_t(r.prossimo(24)));
    if (i % 3 == 0) l.riga("curvad%u, %7d,  %d", 1 + r.prossimo(3), b + 8200, 100 + 50 * int32_t(r.prossimo(12)));
  }
  l.riga("[pendenze]");
  for (int32_t i = 0; i < blocchi; ++i) {
    const int32_t b = i * blocco;
    l.riga("pendenza, %7d,   %d", b + 2000, int32_t(r.prossimo(20)) - 7);
    l.riga("pendenza, %7d,   %d", b + 7000 + 50 * int32_t(r.prossimo(20)), int32_t(r.prossimo(20)) - 7);
  }
  l.riga("[montagne]");
  for (int32_t i = 7; i < blocchi && i / 15 < 80; i += 15)
    l.riga("montagna, %7d, %7d,  11", i * blocco + 3000, i * blocco + 4500 + 50 * int32_t(r.prossimo(20)));
  l.riga("[cartelli]");
  for (int32_t i = 0; i < blocchi; ++i) {
    const int32_t b = i * blocco;
    const int32_t v = 60 + 5 * int32_t(r.prossimo(20));
    l.riga("indicatori_vmax, %7d,  %d,  %d,  %d,  0,  %d,  %d,  %d,  0", b + 6550, v, v + 5, v + 10, v, v + 5, v + 10);
    if (i % 5 == 0) l.riga("indicatori_vmax, %7d,  %d,  %d,  %d,  2,  %d,  %d,  %d,  2", b + 8550, v, v + 5, v + 10, v, v + 5, v + 10);
  }
  l.riga("[indicazioni]");
  for (int32_t k = 0; k < cartelli; ++k) {
    const int32_t p = (12 * k + 11) * blocco + 9450;
    l.riga("cartello_indicatore, %7d,   (Km %d+%03d)", p, p / 1000, p % 1000);
  }
  l.riga("[fine]");

  testo t;
  t.riga("[generale]");
  t.riga("numero vetture,    14");
  t.riga("percentuale massa frenata,    130");
  t.riga("sabbia,    200");
  t.riga("orologio,    17              12            30 ");
  t.riga("[aderenze]");
  for (int32_t i = 0; i < blocchi; i += 10) t.riga("aderenza, %7d,    %d", i * blocco, 90 + int32_t(r.prossimo(20)));
  t.riga("[vel_limite]");
  for (int32_t i = 0; i < blocchi; ++i) t.riga("velocita, %7d,   %d", i * blocco, 70 + 5 * int32_t(r.prossimo(22)));
  t.riga("[stazioni]");
  // The first station at the origin, then the others spread evenly over two
  // places in each block, 2 km and 6 km into it. Every fifth is a stop, and
  // so is the last, where the train arrives: a stop's time rises along the
  // run at 80 km/h on average with two minutes at each stop before it, to the
  // next whole minute, as a stopping train's timetable would (a long route
  // crosses midnight once).
  t.riga("stazione,       0,  8,  500,  1, 0, 0,  4,1,0,  2,1,1,    1,  17,13, 0, ORIGINE");
  constexpr int32_t partenza_s = 17 * 3600 + 13 * 60;
  int32_t fermate = 1;
  for (int32_t k = 1; k < stazioni; ++k) {
    const int32_t posto = k * 2 * blocchi / stazioni;
    const int32_t p = posto / 2 * blocco + (posto % 2 ? 6000 : 2000);
    const bool fermata = k % 5 == 0 || k == stazioni - 1;
    int32_t ora = 0;
    if (fermata) {
      const int32_t corsa_s = p / 1000 * 45 + 120 * fermate++;  // 80 km/h is a kilometre every 45 s
      ora = (partenza_s + (corsa_s + 59) / 60 * 60) % 86400;
      if (ora == 0) ora = 60;  // a time of 0:00:00 would read as no time at all
    }
    t.riga("stazione, %7d, %2d,  %d,  0, 0, 0,  1,1,0,  4,1,1,    %d,  %d,%2d, 0, STAZIONE %d", p,
           fermata ? 2 : 12, 400 + 100 * int32_t(r.prossimo(3)), fermata ? 99 : 0, ora / 3600, ora / 60 % 60, k);
  }
  t.riga("[rallentamenti]");
  for (int32_t i = 4; i < blocchi; i += 9) {
    const int32_t v = 40 + 10 * int32_t(r.prossimo(5));
    t.riga("rallentamento, %7d,    %d,  200, %u,  1,  %d", i * blocco + 9000, v, r.prossimo(2), v);
  }
  t.riga("[segnali]");
  for (int32_t i = 0; i < blocchi; ++i)
    for (int32_t k = 0; k < 5; ++k) {
      const int* s = segnali_tipo[r.prossimo(5)];
      t.riga("segnale, %7d,   %d, %d, %d,  %d, %d,    %d,  %d,%d,%d, 0", i * blocco + 900 + 2000 * k, s[0], s[1],
             s[2], s[3], s[4], s[5], s[6], s[7], s[8]);
    }
  t.riga("[codici]");
  t.riga("[fine]");
  return {l.s, t.s};
}

std::unique_ptr<esito_compilazione> compila_generato(const scenario_generato& s, int32_t salva_linea) {
  opzioni_compilazione o;
  o.nome_scenario = "Generato";
  o.numero_treno = "1";
  o.piano_linea = salva_linea != 0;
  o.con_marcia = false;
  return std::make_unique<esito_compilazione>(
      compila({"Generato_linea.txt", s.linea}, {"Generato_1-.txt", s.treno}, o));
}
