// The build state: everything one build fills, finishes and packs.
//
// One `Form1` lives for the whole run. The compiler and the packer share it
// directly; procedures are free functions that take the state they work on.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "compiler/codici_avviso.h"
#include "compiler/righe_lette.h"
#include "formato/record.h"
#include "formato/vocabolario.h"

// A stretch of the line plan: the points after the previous stretch up to
// `fino`, each one metre on from the last step (dx, dy), that step turned by
// `k` on a curve.
struct tratto_linea {
  int64_t fino = 0;
  double k = 0.0;
  bool curva = false;

  bool operator==(const tratto_linea&) const = default;
};

// The line plan as the line source lays it: its size, its two first points and
// its stretches. Every point follows from these by the plan's own arithmetic
// (compiler/piano_linea.h), so megabytes of points are never held: they are
// worked out again, bit for bit, where they are written.
struct piano_linea {
  int64_t punti = 0;       // points 0..punti - 1 (L + 7001 once sized), none when not built
  bool origine = false;    // points 0 and 1 are set: (0, 0) and (0, 1), 16-bit integers
  std::vector<tratto_linea> tratti;  // from point 2 on, in order; later points are empty
};

// An error as the build recorded it, kept in order for the authors' tools.
// The build itself keeps only the last pair (`codice_errore`, `posizione_errore`).
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
  // The rows the detail names as culprits (indices into `Form1::righe_lette`):
  // what an editor links the error to.
  std::vector<int32_t> righe_colpevoli;
};

// Mountain spans recorded by the line parser: entries 1..80 used.
inline constexpr int numero_voci_montagne = 81;

struct Form1 {
  // Identity of the scenario, set by the driver before any stage runs.
  std::string nome_scenario;
  std::string numero_treno;

  // Route grid, cells 0..N, N = (L + 7000) / 50 rounded half to even.
  // Empty until the line parser reads the route length.
  std::vector<cella_percorso> percorso;

  std::array<record_stazione, numero_slot> tabella_stazioni;

  // Line plan, one point per metre 0..L + 7000 (the packed file stores all x,
  // then all y). Empty unless `salva_linea` is non-zero.
  piano_linea griglia_linea;

  int32_t numero_montagne = 0;
  std::array<int32_t, numero_voci_montagne> inizio_montagne{};
  std::array<int32_t, numero_voci_montagne> fine_montagne{};

  int32_t codice_errore = 0;      // last error of the build, 0 = none
  int32_t posizione_errore = 0;   // route position in metres that goes with it
  int32_t salva_linea = 0;        // non-zero: build and pack the line plan

  std::string riga;               // the last text field read from a source
  // Where the last field read stands: the source's label, line and column (from 1).
  std::string sorgente_file;
  int32_t sorgente_riga = 0;
  int32_t sorgente_colonna = 0;

  // Every error recorded, in order (the pair above is the last of them).
  std::vector<errore_registrato> errori;
  // What the compiler accepted but an author almost surely did not mean, in
  // the order found. Never read by the build: the packed bytes do not depend on it.
  std::vector<avviso_registrato> avvisi;
  // Every row read and applied, in the order read.
  std::vector<riga_letta> righe_lette;
  // Beside the route grid, one per cell: which rows laid what it holds.
  // Sized with the grid; never packed.
  std::vector<origine_cella> origini_celle;
  // The row being laid: the cells a recorder lays name it (an index into
  // `righe_lette`, or none).
  int32_t riga_in_posa = nessuna_riga;
  // The labels of the two sources, as the compile was given them.
  std::string file_linea;
  std::string file_treno;

  // Shows a packing refusal ("1250", "1251") to the user. The program's own
  // hook never returns; when it is absent or returns, packing stops there.
  void (*mostra_errore)(const std::string& a) = nullptr;
  // The packing refusal met by the last `completa_scenario`, 0 = none, and
  // what stood in the reserved place, in the author's terms.
  int32_t errore_imballaggio = 0;
  std::string dettaglio_imballaggio;
};

// Records `codice` as the build's error; `posizione_errore` stays as it was.
void registra_errore(Form1& f, int32_t codice);
// Records `codice` with the route position `posizione` (metres).
void registra_errore(Form1& f, int32_t codice, int32_t posizione);
// Gives the error just recorded its position (callers that add the row's position).
void registra_posizione(Form1& f, int32_t posizione);
// Gives the error just recorded its detail text.
void dettaglia_errore(Form1& f, std::string dettaglio);
// Names row `indice` as a culprit of the error just recorded; none, and a
// row named already, add nothing.
void colpevole(Form1& f, int32_t indice);

// Records a warning with the text `testo`, at no place in the sources; the
// caller adds the place and the position where there are some.
avviso_registrato& registra_avviso(Form1& f, int32_t codice, std::string testo);
// Gives a warning the place of row `indice` (its keyword field) and its position.
void avviso_alla_riga(const Form1& f, avviso_registrato& a, int32_t indice);
// Names row `indice` as a culprit of warning `a`; none adds nothing.
void colpevole_avviso(const Form1& f, avviso_registrato& a, int32_t indice);
