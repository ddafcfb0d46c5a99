// Compiling an author's scenario with the packer's own stages, from memory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "porta/compila.h"
#include "tools/riga_di_comando.h"
#include "tools/verdetto.h"
#include "tools/argomenti.h"

// What a command that compiles leaves: the door's result, and what the tool
// made of it.
struct esito_comando {
  esito_compilazione c;
  std::vector<std::filesystem::path> scritti;  // files written for the author, in order
  // pack found an error (or, with --strict, a warning) and wrote nothing:
  // neither the packed files nor the documents
  bool trattenuto = false;
};

// The largest source the tool reads: a 1,000,000 m line of realistic density
// is a few MB, so anything larger is not a source.
inline constexpr std::uintmax_t byte_massimi_sorgente = 16u << 20;
// The largest packed file `dump` reads: the line plan of the longest route
// (two axes of 1,007,001 points, 10 bytes at most each) is about 20 MB.
inline constexpr std::uintmax_t byte_massimi_imballato = 32u << 20;

// Reads the author's two sources (r.linea, r.treno), compiles them through
// the core's door as the packer compiles its own, with the author's paths as
// the names the errors give, and, for pack, writes the packed files into
// r.cartella_uscita, each replaced whole: only when nothing was found that
// the verdict weighs as an error (nor a warning, with r.severo), unless
// r.forza. The sources are only read. Throws `errore_file` when a source
// cannot be read or a file cannot be written.
esito_comando compila_scenario(const richiesta& r);

// pack, check and docs: compiles as `compila_scenario` does, writes the
// documents when asked (`documenti_dopo_compilazione`), and reports: every
// error, warning and note with its place, or one JSON object; on a terminal
// the summary, and for a pack that wrote, what it wrote.
verdetto esegui_compilazione(const richiesta& r, ambiente& a);
