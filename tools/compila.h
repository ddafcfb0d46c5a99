// Compiling an author's scenario with the packer's own stage, from private copies.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "compiler/form1.h"
#include "tools/argomenti.h"

struct esito_compilazione {
  std::unique_ptr<Form1> f;                    // the build state after the packing stage
  std::vector<std::filesystem::path> scritti;  // packed files written for the author, in order
};

// Reads `file` whole. Throws `errore_file` when it cannot be read.
std::string leggi_file(const std::filesystem::path& file);

// Copies the author's two sources (r.linea, r.treno) into a private temporary
// directory under the build's names, runs the packer's last stage there and,
// for pack, copies the packed files into r.cartella_uscita. The sources are
// only read; the temporary directory goes on every way out. Throws
// `errore_file` when a source cannot be read or a file cannot be written.
esito_compilazione compila_scenario(const richiesta& r);
