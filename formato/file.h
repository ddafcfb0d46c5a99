// The file room: every layer that touches a file does it through here. A file
// is always replaced whole and atomically; a file is read whole, up to a cap.
#pragma once

#include <cstdint>
#include <filesystem>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>

#include "formato/pezzi.h"

// A file that could not be read or written: names the file and the reason.
struct errore_file : std::runtime_error {
  errore_file(const std::filesystem::path& file, const std::string& motivo);
};

// Replaces `file` whole with `contenuto`: written beside it under a temporary
// name, closed, then renamed over it. What this guarantees: every reader sees
// the old file or the new one whole, never a part of either, and a failed
// write (a full disk, a file too large) leaves the older file as it was and no
// temporary file behind. What it does not: the data is not synced to the disk,
// so a power cut or a crash of the system right after the run may lose the new
// file (or, on some file systems, leave it empty). That is enough for files
// that are made again from their sources by running again, where a sync of
// the three packed files and their directory would add about as much time as
// the whole pack takes (bench/costo_fsync). Throws `errore_file`.
void sostituisci_file(const std::filesystem::path& file, std::string_view contenuto);

// The same replacement for content that `produci` makes in pieces, each
// written at its offset as it comes. Throws `errore_file`, and what `produci`
// throws; either way the old file stays and no temporary file is left.
void sostituisci_file(const std::filesystem::path& file, const produttore& produci);

// The replacement step by step: `scrivi_a` writes at an offset of the
// temporary file, `scrivi` after the last byte written so far, `concludi`
// renames it over `file`. Left without `concludi` (an exception on the way),
// the temporary file is removed and the old file stays. Every step throws
// `errore_file`.
class file_nuovo {
 public:
  explicit file_nuovo(const std::filesystem::path& file);
  ~file_nuovo();
  file_nuovo(const file_nuovo&) = delete;
  file_nuovo& operator=(const file_nuovo&) = delete;
  void scrivi(std::string_view byte);
  void scrivi_a(uint64_t posizione, std::string_view byte);
  void concludi();

 private:
  std::filesystem::path file_;
  std::string temporaneo_;
  int fd_ = -1;
  uint64_t fine_ = 0;  // the end of what is written so far
};

// Reads `file` whole. Throws `errore_file` when it cannot be read, is a
// directory, or holds more than `massimi` bytes (checked before anything is
// read, and again while reading, for a file that grows or has no size).
std::string leggi_file(const std::filesystem::path& file,
                       std::uintmax_t massimi = std::numeric_limits<std::uintmax_t>::max());
