// What the picture draws, read from the three packed files: the route's
// features where their cells stand, and the plan's points where they are usable.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/disegno/disegno.h"

namespace disegno {

// A span along the route.
struct tratto {
  int64_t da = 0;  // metres
  int64_t a = 0;
};

// A name that stands at a point of the route: a station's, a board's text.
struct nome_in_linea {
  int64_t metro = 0;
  std::string nome;  // single-byte, as packed
};

// What the picture draws of a scenario.
struct lettura {
  std::string nome, numero;
  int64_t lunghezza = 0;  // route length L, metres
  std::vector<nome_in_linea> stazioni;
  std::vector<nome_in_linea> cartelli;  // kilometre boards and their texts
  std::vector<int64_t> segnali;
  std::vector<tratto> montagne;
  struct rallentamento {
    tratto dove;
    int velocita = 0;
  };
  std::vector<rallentamento> rallentamenti;
  struct abbattimento {
    int64_t metro = 0;
    int velocita = 0;  // 0: a point without a speed
  };
  std::vector<abbattimento> abbattimenti;  // the author's
  std::vector<int64_t> approcci;  // the points the packer laid before signals and along slow orders
};

// Reads the packed scenario into what is drawn. Features of the route grid
// stand where their cell stands, cell i at i x 50 m, as the simulator reads them.
lettura leggi(const scenario& s);

// How many metres the plan holds.
std::size_t metri_piano(const std::array<asse_linea, 2>& griglia);

// The plan point at `metro`, when it is there and usable.
std::optional<punto> punto_metro(const std::array<asse_linea, 2>& g, int64_t metro);

// The nearest usable plan point to `metro`, looking back first (the last
// metres of a plan are never computed).
std::optional<punto> punto_vicino(const std::array<asse_linea, 2>& g, int64_t metro);

}  // namespace disegno
