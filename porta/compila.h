// The one door into the core: the two source texts in; the compiled scenario,
// what the build tells the author, a packing refusal and the fastest run out.
// The packer program, the tool's commands, the language server and the fuzz
// targets all compile through it. Nothing here touches a file.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "analisi/avvisi.h"
#include "analisi/marcia.h"
#include "compiler/memorizza_dati.h"
#include "compiler/registro.h"
#include "formato/scenario.h"
#include "packer/imballa.h"

struct opzioni_compilazione {
  // The scenario's identity: the stem of its packed files' names.
  std::string nome_scenario;
  std::string numero_treno;
  bool piano_linea = true;  // lay the line plan, and pack it
  // A source in UTF-8 is made single-byte text first, as the packed files
  // hold it, with a warning for each field made so (302, 303). The packer's
  // own sources are single-byte text already, and are compiled as they are.
  bool da_utf8 = true;
  // The fastest run against the timetable, and its warnings (361 up).
  bool con_marcia = true;
  opzioni_marcia marcia;  // the train model and the recovery margin, where the author sets them
  // What decides each section too, worked out with the run (timing tells it).
  bool con_decisioni = false;
};

// A source as it was compiled: the diagnostics show its lines from here.
struct sorgente_compilata {
  std::string etichetta;  // as the messages name it (the author's path, say)
  std::string testo;      // single-byte text, as the compiler read it
};

struct esito_compilazione {
  // What the packed files hold: finished (approaches, markers, codes) unless
  // a packing check refused it.
  ::scenario scenario;
  // Every error, then every warning: the sources' text first, then the
  // compiler's, then the timetable's.
  ::registro registro;
  // False when the line half ended with its own error and the train source
  // was never taken up.
  bool treno_preso = true;
  // A packing check's refusal: the scenario must not be packed.
  std::optional<rifiuto_imballaggio> rifiuto;
  // The fastest run, once the route grid stands (errors or not: it is timed
  // over what was compiled), when it was asked for.
  std::optional<::marcia> marcia;
  std::vector<decisione_sezione> decisioni;    // what decides each section, when asked
  std::array<sorgente_compilata, 2> sorgenti;  // the line source, then the train source
};

// Compiles `linea` and `treno` (their labels name them in every message) as
// `o` asks, finishes the scenario for packing and, when asked, times the
// fastest run and judges the timetable.
esito_compilazione compila(const testo_sorgente& linea, const testo_sorgente& treno, const opzioni_compilazione& o);

// True when the scenario may be packed: the compiler sized the grid and no
// packing check refused it. Errors the compiler recorded do not stop it.
inline bool da_imballare(const esito_compilazione& e) { return ha_percorso(e.scenario) && !e.rifiuto; }
