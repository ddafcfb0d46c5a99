// Compiling an author's scenario with the packer's own stages, from memory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "compiler/form1.h"
#include "tools/argomenti.h"

// A source as the compiler was given it: the diagnostics show its lines from here.
struct sorgente_compilata {
  std::string etichetta;  // the author's path, as the errors name it
  std::string testo;
};

struct esito_compilazione {
  std::unique_ptr<Form1> f;                    // the build state after the packing stages
  std::vector<std::filesystem::path> scritti;  // packed files written for the author, in order
  std::vector<sorgente_compilata> sorgenti;    // the line source, then the train source
  // The compiler's warnings, then the timetable's. The timetable is judged
  // also after an error, over what was read: a limit the build did not read
  // could only have slowed the run, so a section found too short stays so.
  std::vector<avviso_registrato> avvisi;
  bool trattenuto = false;  // pack --strict found an error or a warning: nothing was made
};

// The largest source the tool reads: a 1,000,000 m line of realistic density
// is a few MB, so anything larger is not a source.
inline constexpr std::uintmax_t byte_massimi_sorgente = 16u << 20;
// The largest packed file `dump` reads: the line plan of the longest route
// (two axes of 1,007,001 points, 10 bytes at most each) is about 20 MB.
inline constexpr std::uintmax_t byte_massimi_imballato = 32u << 20;

// Reads the author's two sources (r.linea, r.treno), compiles them as the
// packer compiles its own, with the author's paths as the names the errors
// give, finishes the route and, for pack, writes the packed files into
// r.cartella_uscita, each replaced whole (with r.severo, only when the build
// recorded no error and no warning). The sources are only read. Throws
// `errore_file` when a source cannot be read or a file cannot be written.
esito_compilazione compila_scenario(const richiesta& r);
