#include "sources/scrivi_righe.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

errore_file::errore_file(const std::filesystem::path& file, const std::string& motivo)
    : std::runtime_error(file.string() + ": " + motivo) {}

namespace {

std::string motivo_di_sistema(const char* passo, int numero) {
  return std::string(passo) + ": " + std::strerror(numero);
}

}  // namespace

file_nuovo::file_nuovo(const std::filesystem::path& file) : file_(file) {
  // The temporary file lies in the same directory, so the rename never crosses a file system.
  temporaneo_ = file.string() + ".XXXXXX";
  fd_ = ::mkstemp(temporaneo_.data());
  if (fd_ < 0) throw errore_file(file_, motivo_di_sistema("cannot create", errno));
}

file_nuovo::~file_nuovo() {
  if (fd_ < 0) return;
  ::close(fd_);
  ::unlink(temporaneo_.c_str());
}

void file_nuovo::scrivi(std::string_view byte) { scrivi_a(fine_, byte); }

void file_nuovo::scrivi_a(uint64_t posizione, std::string_view byte) {
  const char* dati = byte.data();
  std::size_t resto = byte.size();
  while (resto > 0) {
    const ssize_t scritti = ::pwrite(fd_, dati, resto, static_cast<off_t>(posizione));
    if (scritti < 0) {
      if (errno == EINTR) continue;
      throw errore_file(file_, motivo_di_sistema("cannot write", errno));
    }
    dati += scritti;
    posizione += static_cast<uint64_t>(scritti);
    resto -= static_cast<std::size_t>(scritti);
  }
  fine_ = std::max(fine_, posizione);
}

void file_nuovo::concludi() {
  // mkstemp makes the file private; the build's files are ordinary files.
  const mode_t maschera = ::umask(0);
  ::umask(maschera);
  if (::fchmod(fd_, 0666 & ~maschera) != 0) throw errore_file(file_, motivo_di_sistema("cannot set permissions", errno));
  const int fd = fd_;
  fd_ = -1;  // closed below whatever happens
  if (::close(fd) != 0) {
    const int numero = errno;
    ::unlink(temporaneo_.c_str());
    throw errore_file(file_, motivo_di_sistema("cannot write", numero));
  }
  if (::rename(temporaneo_.c_str(), file_.c_str()) != 0) {
    const int numero = errno;
    ::unlink(temporaneo_.c_str());
    throw errore_file(file_, motivo_di_sistema("cannot replace", numero));
  }
}

void sostituisci_file(const std::filesystem::path& file, std::string_view contenuto) {
  file_nuovo nuovo(file);
  nuovo.scrivi(contenuto);
  nuovo.concludi();
}

void scrivi_righe(const std::filesystem::path& file, std::span<const std::string_view> righe) {
  const std::size_t quante = std::min(righe.size(), righe_massime);
  std::string testo;
  for (std::size_t i = 0; i < quante && righe[i] != sentinella; ++i) {
    testo += righe[i];
    testo += "\r\n";
  }
  sostituisci_file(file, testo);
}
