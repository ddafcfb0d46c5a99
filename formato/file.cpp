#include "formato/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

errore_file::errore_file(const std::filesystem::path& file, const std::string& motivo)
    : std::runtime_error(file.string() + ": " + motivo) {}

namespace {

std::string motivo_di_sistema(const char* passo, int numero) {
  return std::string(passo) + ": " + std::strerror(numero);
}

std::string in_mib(std::uintmax_t byte) { return std::to_string(byte >> 20) + " MiB"; }

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

void sostituisci_file(const std::filesystem::path& file, const produttore& produci) {
  file_nuovo nuovo(file);
  produci([&nuovo](uint64_t posizione, std::string_view pezzo) { nuovo.scrivi_a(posizione, pezzo); });
  nuovo.concludi();
}

std::string leggi_file(const std::filesystem::path& file, std::uintmax_t massimi) {
  std::FILE* in = std::fopen(file.c_str(), "rb");
  if (in == nullptr) throw errore_file(file, std::string("cannot read: ") + std::strerror(errno));
  // A directory opens like a file here; only its read would fail, with a less plain reason.
  // A pipe or a device has no size to check beforehand: the read stops at the cap.
  struct stat info;
  if (::fstat(::fileno(in), &info) == 0) {
    std::string motivo;
    if (S_ISDIR(info.st_mode))
      motivo = "is a directory, not a file";
    else if (S_ISREG(info.st_mode) && static_cast<std::uintmax_t>(info.st_size) > massimi)
      motivo = "too large (" + std::to_string(info.st_size) + " bytes; at most " + in_mib(massimi) + ")";
    if (!motivo.empty()) {
      std::fclose(in);
      throw errore_file(file, motivo);
    }
  }
  std::string testo;
  char blocco[1 << 16];
  std::size_t letti;
  while ((letti = std::fread(blocco, 1, sizeof blocco, in)) > 0) {
    if (testo.size() + letti > massimi) {
      std::fclose(in);
      throw errore_file(file, "too large (more than " + in_mib(massimi) + ")");
    }
    testo.append(blocco, letti);
  }
  const int numero = errno;
  const bool guasto = std::ferror(in) != 0;
  std::fclose(in);
  if (guasto) throw errore_file(file, std::string("cannot read: ") + std::strerror(numero));
  return testo;
}
