// The options that change the train of the fastest run and the timetable it
// is judged by (--power, --dwell, --margin, ...), for every command that
// times the run: each value read, checked against what a train can be, and
// told in the help texts.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "analisi/marcia.h"

// One option of the train model: its name, what its value stands for, the
// range it is accepted in (the engine's own bounds, so that nothing given is
// ever clamped unseen) and where in `opzioni_marcia` it goes. An option whose
// value is not one number has its own reader instead.
struct opzione_marcia {
  std::string_view nome;    // "--acceleration"
  std::string_view valore;  // "M/S2", as the help writes it
  std::string_view unita;   // "m/s2", as the messages write it
  double minimo = 0.0;
  double massimo = 0.0;
  std::optional<double> opzioni_marcia::*campo = nullptr;
  std::string_view aiuto;   // what the help says of it
  std::string_view predefinito;  // the help's default, if it has one to tell
  // Reads a value that is not one number; false with `errore` set.
  bool (*leggi)(const std::string& valore, opzioni_marcia& o, std::string& errore) = nullptr;
};

// Every option of the train model, in the order the help lists them.
std::span<const opzione_marcia> opzioni_del_modello();

// When `argomenti[i]` is an option of the train model ("--opt VALUE" or
// "--opt=VALUE"): reads its value into `o` (moving `i` past it) and returns
// true, with `errore` set when the value is missing, not a number or out of
// its range. False, with nothing touched, for any other argument.
bool leggi_opzione_marcia(std::span<const std::string> argomenti, std::size_t& i, opzioni_marcia& o,
                          std::string& errore);

// A recovery margin as the command line writes it: "5%", "1.5min/100km",
// "5%+1.5min/100km" (either order), or "0" for none. False with `errore`.
bool leggi_margine(std::string_view testo, margine_recupero& m, std::string& errore);

// False, with `errore`, when the options given contradict each other
// (--braking and --braked-mass: the braking from the braked mass would be
// thrown away; --acceleration and --tractive-effort or --adhesion; an
// adhesive mass above the train's mass).
bool opzioni_marcia_coerenti(const opzioni_marcia& o, std::string& errore);

// The rows of the help texts that tell the options, under their own head.
std::string aiuto_opzioni_marcia();

// `aiuto` with the options' rows inserted before its "exit status:" part (at
// its end when it has none).
std::string con_opzioni_marcia(std::string_view aiuto);
