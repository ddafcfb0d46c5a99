// The packer's entry: finishing a compiled scenario and packing it into the
// three files' bytes. Where the bytes go is the caller's: a file replaced
// whole, a buffer, a hash.
#pragma once

#include <functional>

#include "compiler/form1.h"
#include "formato/pezzi.h"

// Finishes the scenario that `memorizza_dati` compiled into `f`: completes
// the approaches, makes the packing checks and stamps the markers and the
// competition codes. A check that refuses (1250, 1251) is kept in
// `f.errore_imballaggio` and shown through `f.mostra_errore`; the program's
// own hook never returns. Returns true when there is something to pack: the
// grid was sized and no check refused. When the compiler gave up before
// sizing the grid nothing is finished.
bool completa_scenario(Form1& f);

// Where the packed files go: called once for each file, in the order they
// are packed, with what makes its bytes.
using uscita_imballati = std::function<void(file_imballato quale, const produttore& produci)>;

// Packs a scenario that `completa_scenario` finished: hands `uscita` the line
// plan (only when `f.salva_linea` is non-zero; its megabytes come in pieces
// as its points are worked out), then the station table and the route grid.
void imballa_scenario(const Form1& f, const uscita_imballati& uscita);
