// The register: what a build tells the author. Beside the scenario it fills,
// the compiler records here every error with its place in the sources, the
// warnings, the rows read and, for every cell, the rows that laid what it
// holds. The packed bytes never depend on it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/codici_avviso.h"
#include "compiler/righe_lette.h"
#include "formato/scenario.h"

// An error as the build recorded it, kept in order for the authors' tools.
struct errore_registrato {
  int32_t codice = 0;
  int32_t posizione = 0;
  bool con_posizione = false;  // the error names a route position
  std::string file;            // label of the source of the last field read; empty outside the parsers
  int32_t riga = 0;            // line and column (from 1) of that field
  int32_t colonna = 0;
  // What the author needs beyond the code's description: the culprit in the
  // author's terms (the row that holds a cell, the field that could not be
  // read and what was expected there); empty when the description says it all.
  std::string dettaglio;
  // The rows the detail names as culprits (indices into `registro::righe_lette`):
  // what an editor links the error to.
  std::vector<int32_t> righe_colpevoli;
};

struct registro {
  // The build's last error, 0 = none, and the route position in metres that
  // goes with it: the pair the packer program keeps and tells.
  int32_t codice_errore = 0;
  int32_t posizione_errore = 0;

  // Every error recorded, in order (the pair above is the last of them).
  std::vector<errore_registrato> errori;
  // What the compiler accepted but an author almost surely did not mean, in
  // the order found.
  std::vector<avviso_registrato> avvisi;
  // Every row read and applied, in the order read.
  std::vector<riga_letta> righe_lette;
  // Beside the route grid, one per cell: which rows laid what it holds.
  // Sized with the grid; empty for a scenario read back from packed files.
  std::vector<origine_cella> origini_celle;
  // The labels of the two sources, as the compile was given them.
  std::string file_linea;
  std::string file_treno;
};

// Records `codice` as the build's last error, at no place in the sources;
// `posizione_errore` stays as it was.
errore_registrato& registra_errore(registro& r, int32_t codice);
// Records `codice` with the route position `posizione` (metres).
errore_registrato& registra_errore(registro& r, int32_t codice, int32_t posizione);
// Gives the error just recorded its position (callers that add the row's position).
void registra_posizione(registro& r, int32_t posizione);
// Gives the error just recorded its detail text.
void dettaglia_errore(registro& r, std::string dettaglio);
// Names row `indice` as a culprit of the error just recorded; none, and a
// row named already, add nothing.
void colpevole(registro& r, int32_t indice);

// Records a warning with the text `testo`, at no place in the sources; the
// caller adds the place and the position where there are some.
avviso_registrato& registra_avviso(registro& r, int32_t codice, std::string testo);
// Gives a warning the place of row `indice` (its keyword field) and its
// position, said to lie off the grid of `s` where it does.
void avviso_alla_riga(const registro& r, const scenario& s, avviso_registrato& a, int32_t indice);
// Names row `indice` as a culprit of warning `a`; none adds nothing.
void colpevole_avviso(const registro& r, avviso_registrato& a, int32_t indice);

// The row that wrote the text of station-table slot `slot`: the station row
// that filled it, or the kilometre board row whose text it holds; none when
// the log holds no such row.
int32_t riga_dello_slot(const registro& r, int slot);
