// The packer's entry: finishing a compiled scenario and packing it into the
// three files' bytes. Where the bytes go is the caller's: a file replaced
// whole, a buffer, a hash.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "compiler/registro.h"
#include "formato/pezzi.h"
#include "formato/scenario.h"

// A packing check's refusal (1250, 1251): nothing of the scenario is packed.
struct rifiuto_imballaggio {
  int32_t codice = 0;
  // What stood in the reserved place, in the author's terms.
  std::string dettaglio;
};

// Finishes the scenario that the compiler made: completes the approaches
// (their errors go to `r`), makes the packing checks and stamps the markers
// and the competition codes. Returns the refusal of a check that refuses;
// then the scenario must not be packed. When the compiler gave up before
// sizing the grid nothing is finished and there is nothing to pack
// (`ha_percorso`).
std::optional<rifiuto_imballaggio> completa_scenario(scenario& s, registro& r);

// Where the packed files go: called once for each file, in the order they
// are packed, with what makes its bytes.
using uscita_imballati = std::function<void(file_imballato quale, const produttore& produci)>;

// Packs a scenario that `completa_scenario` finished: hands `uscita` the line
// plan (only when the scenario has one; its megabytes come in pieces as its
// points are worked out), then the station table and the route grid.
void imballa_scenario(const scenario& s, const uscita_imballati& uscita);
