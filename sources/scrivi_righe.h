// The writing steps shared by every text writer and by the packed-file writers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

// Every writer's table holds at most this many lines, the sentinel included.
inline constexpr std::size_t righe_massime = 1001;
// Closes a writer's table of lines; never written.
inline constexpr std::string_view sentinella = "riferimento fine del file";

// A file that could not be written: names the file and the system's reason.
struct errore_file : std::runtime_error {
  errore_file(const std::filesystem::path& file, const std::string& motivo);
};

// Replaces `file` whole with `contenuto`: written beside it under a temporary
// name, flushed, then renamed over it, so that a failure never leaves a
// truncated file where an older good one stood. Throws `errore_file`.
void sostituisci_file(const std::filesystem::path& file, std::string_view contenuto);

// The same replacement for content made in pieces: `scrivi_a` writes at an
// offset of the temporary file, `scrivi` after the last byte written so far,
// `concludi` renames it over `file`. Left without `concludi` (an exception on
// the way), the temporary file is removed and the old file stays. Every step
// throws `errore_file`.
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

// Writes the lines of `righe` up to the sentinel (at most 1001 entries), each
// followed by CR LF, one byte per character, replacing `file` whole.
// Throws `errore_file`.
void scrivi_righe(const std::filesystem::path& file, std::span<const std::string_view> righe);
