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

void sostituisci_file(const std::filesystem::path& file, std::string_view contenuto) {
  // The temporary file lies in the same directory, so the rename never crosses a file system.
  std::string temporaneo = file.string() + ".XXXXXX";
  const int fd = ::mkstemp(temporaneo.data());
  if (fd < 0) throw errore_file(file, motivo_di_sistema("cannot create", errno));

  auto abbandona = [&](const char* passo, int numero) {
    ::close(fd);
    ::unlink(temporaneo.c_str());
    throw errore_file(file, motivo_di_sistema(passo, numero));
  };

  const char* dati = contenuto.data();
  std::size_t resto = contenuto.size();
  while (resto > 0) {
    const ssize_t scritti = ::write(fd, dati, resto);
    if (scritti < 0) {
      if (errno == EINTR) continue;
      abbandona("cannot write", errno);
    }
    dati += scritti;
    resto -= static_cast<std::size_t>(scritti);
  }
  // mkstemp makes the file private; the build's files are ordinary files.
  const mode_t maschera = ::umask(0);
  ::umask(maschera);
  if (::fchmod(fd, 0666 & ~maschera) != 0) abbandona("cannot set permissions", errno);
  if (::close(fd) != 0) {
    const int numero = errno;
    ::unlink(temporaneo.c_str());
    throw errore_file(file, motivo_di_sistema("cannot write", numero));
  }
  if (::rename(temporaneo.c_str(), file.c_str()) != 0) {
    const int numero = errno;
    ::unlink(temporaneo.c_str());
    throw errore_file(file, motivo_di_sistema("cannot replace", numero));
  }
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
