// What a command of the tool found, and the exit status that follows from
// it: decided here, in one place, for every command.
#pragma once

#include <cstddef>

#include "porta/compila.h"

struct verdetto {
  bool fallito = false;             // a usage error, or a file that could not be read or written
  bool rifiuto = false;             // a packing check (1250, 1251) refused the scenario
  std::size_t errori = 0;           // the build's errors, and findings weighed as errors
  std::size_t avvisi = 0;           // findings weighed as warnings (notes are not counted)
  bool orario_impossibile = false;  // timing: a section that even the fastest run cannot keep
  bool sessione_troncata = false;   // lsp: the editor's session ended without shutdown
};

// The verdict of a compile: its errors (the compiler's, then every finding
// that drops, cuts, rounds or replaces what the author wrote), its warnings,
// a packing refusal.
verdetto verdetto_di(const esito_compilazione& c);

// The exit status:
//   3  a packing check refused the scenario: nothing written;
//   2  a usage error, or a file that could not be read or written;
//   1  an error found (nothing packed unless forced), a warning under
//      --warnings-as-errors or --strict, a section that cannot be kept, or a
//      language server's session ended without shutdown;
//   0  done.
int stato_uscita(const verdetto& v, bool avvisi_come_errori);
