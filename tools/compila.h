// Compiling an author's scenario with the packer's own stage, from private copies.
#pragma once

#include <csignal>
#include <cstdint>
#include <limits>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "compiler/form1.h"
#include "tools/argomenti.h"

// The private directory where the build's copies of the sources lie (under
// TMPDIR, or /tmp). The compiler deletes the sources it reads, so it never
// sees the author's own. While the directory exists the signals that end a
// program from the terminal (SIGINT, SIGTERM, SIGHUP, SIGQUIT) are held back,
// and delivered once it is gone: an interrupted run leaves nothing behind.
// Throws `errore_file` when the directory cannot be made.
class cartella_privata {
 public:
  cartella_privata();
  ~cartella_privata();
  cartella_privata(const cartella_privata&) = delete;
  cartella_privata& operator=(const cartella_privata&) = delete;

  std::filesystem::path percorso;

 private:
  sigset_t prima_;
};

struct esito_compilazione {
  std::unique_ptr<Form1> f;                    // the build state after the packing stage
  std::vector<std::filesystem::path> scritti;  // packed files written for the author, in order
};

// The largest source the tool reads: a 1,000,000 m line of realistic density
// is a few MB, so anything larger is not a source.
inline constexpr std::uintmax_t byte_massimi_sorgente = 16u << 20;
// The largest packed file `dump` reads: the line plan of the longest route
// (two axes of 1,007,001 points, 10 bytes at most each) is about 20 MB.
inline constexpr std::uintmax_t byte_massimi_imballato = 32u << 20;

// Reads `file` whole. Throws `errore_file` when it cannot be read, is not a
// regular file, or holds more than `massimi` bytes (checked before anything
// is read, and again while reading, for a file that grows).
std::string leggi_file(const std::filesystem::path& file,
                       std::uintmax_t massimi = std::numeric_limits<std::uintmax_t>::max());

// Copies the author's two sources (r.linea, r.treno) into a private temporary
// directory under the build's names, runs the packer's last stage there and,
// for pack, copies the packed files into r.cartella_uscita. The sources are
// only read; the temporary directory goes on every way out. Throws
// `errore_file` when a source cannot be read or a file cannot be written.
esito_compilazione compila_scenario(const richiesta& r);
