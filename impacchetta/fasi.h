// The stages of the one-shot program's build, in their fixed order. Only the
// driver touches the files: the stages below it work on text and bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "porta/compila.h"

// The program's own object: the scenario's identity, fixed before any stage
// runs, and what the build leaves (the compiled scenario, what the build
// recorded, a packing refusal) once `memorizza_percorso` has run.
struct Form1 {
  std::string nome_scenario;
  std::string numero_treno;
  esito_compilazione esito;
};

// Names the built-in scenario: Corvana_Telmisa, train 739.
void nomina_scenario(Form1& f);

// Runs every stage of the build on `f`, whose scenario name and train number
// are set, with every file in `cartella`: writes the two sources and the three
// documents, then `memorizza_percorso(f, cartella, 1)`. Throws `errore_file`
// when a file cannot be written.
void esegui_build(Form1& f, const std::filesystem::path& cartella);

// The last stage, with the program's own ritual around the compile: reads
// each source back from `cartella` and deletes it once the compile is done
// with it (the line source always; the train source unless the line half
// ended with its own error, which leaves it where its writer put it);
// compiles them, with the line plan when `j` is non-zero; finishes the route
// and writes the packed files beside them: the line plan (when built), the
// station table, the route grid. A packing check that refuses leaves its
// refusal in `f.esito.rifiuto` for the program to show, and nothing is
// packed; so it is when the compiler gave up before sizing the grid. Throws
// `errore_file` when a file cannot be written.
void memorizza_percorso(Form1& f, const std::filesystem::path& cartella, int32_t j);
