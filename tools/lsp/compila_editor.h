// The editor's compile: the one place where the language server calls the
// core. A line source and a train source in, as the tool would read them from
// disk; out, every finding as `scenario check` tells it, and what the
// editor's features read of the build.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/righe_lette.h"

struct sorgente_editor {
  std::string etichetta;  // how the findings name the source: its file name
  std::string testo;      // its bytes as the tool reads them: UTF-8 or single-byte text
};

enum class gravita_reperto : uint8_t { errore, avviso, nota };

// A place in a source: its label, and line and column from 1 counted in the
// compiler's characters (one a byte of single-byte text, one a character of
// UTF-8 text). No label: the finding has no place in a source.
struct luogo_reperto {
  std::string file;
  int32_t riga = 0;
  int32_t colonna = 0;
};

// A row the finding names as its culprit: its keyword field, and the row as
// the messages name it ("the station 'BORGO' (P_12-.txt:31)").
struct colpevole_reperto {
  luogo_reperto luogo;
  std::string testo;
};

struct reperto {
  gravita_reperto gravita = gravita_reperto::errore;
  int32_t codice = 0;
  std::string testo;  // as the command line tells it after "error CODE: " or "warning CODE: "
  luogo_reperto luogo;
  std::vector<colpevole_reperto> colpevoli;
};

// A row the compiler applied, with the place of its keyword field.
struct riga_compilata {
  tipo_riga tipo = tipo_riga::lunghezza;
  bool nel_treno = false;
  int32_t riga = 0;
  int32_t colonna = 0;
};

struct esito_editor {
  // The errors in the order recorded, the packing refusal, then the
  // warnings: the compiler's, then the timetable's.
  std::vector<reperto> reperti;
  std::vector<riga_compilata> righe;  // in the order applied
};

// Compiles `linea` and `treno` as `scenario check` does, from memory, as the
// scenario `nome_scenario` with train `numero_treno`, line plan and
// timetable included, with the default train model. A line with no train
// source is compiled with an empty one (`treno.testo` empty).
esito_editor compila_editor(const sorgente_editor& linea, const sorgente_editor& treno,
                            const std::string& nome_scenario, const std::string& numero_treno);
