#include "tools/compila.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pthread.h>
#include <sys/stat.h>

#include "build/nomi_file.h"
#include "packer/memorizza_percorso.h"
#include "sources/scrivi_righe.h"

namespace {

// The three packed files of `f`, in the order the packer writes them.
std::vector<std::filesystem::path> file_imballati(const Form1& f) {
  return {file_linea_imballata(f), file_stazioni_imballate(f), file_percorso_imballato(f)};
}

std::string in_mib(std::uintmax_t byte) { return std::to_string(byte >> 20) + " MiB"; }

bool stesso_file(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec) && !ec;
}

}  // namespace

cartella_privata::cartella_privata() {
  sigset_t fermati;
  sigemptyset(&fermati);
  for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&fermati, s);
  pthread_sigmask(SIG_BLOCK, &fermati, &prima_);
  std::error_code ec;
  std::string modello = (std::filesystem::temp_directory_path(ec) / "scenario-XXXXXX").string();
  if (ec || ::mkdtemp(modello.data()) == nullptr) {
    const std::string motivo = ec ? ec.message() : std::strerror(errno);
    pthread_sigmask(SIG_SETMASK, &prima_, nullptr);
    throw errore_file(modello, "cannot create a temporary directory: " + motivo);
  }
  percorso = modello;
}

cartella_privata::~cartella_privata() {
  std::error_code ec;
  std::filesystem::remove_all(percorso, ec);
  pthread_sigmask(SIG_SETMASK, &prima_, nullptr);
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

// Moves a finished packed file into place. A rename replaces the old file at
// once, as the build's own writes do; across file systems the bytes are
// copied through the same atomic replace.
static void sposta(const std::filesystem::path& da, const std::filesystem::path& a) {
  if (::rename(da.c_str(), a.c_str()) == 0) return;
  if (errno != EXDEV) throw errore_file(a, std::string("cannot replace: ") + std::strerror(errno));
  sostituisci_file(a, leggi_file(da));
}

esito_compilazione compila_scenario(const richiesta& r) {
  esito_compilazione esito;
  esito.f = std::make_unique<Form1>();
  Form1& f = *esito.f;
  f.nome_scenario = r.nome_scenario;
  f.numero_treno = r.numero_treno;

  // Read before anything is made: an unreadable source leaves nothing behind.
  const std::string linea = leggi_file(r.linea, byte_massimi_sorgente);
  const std::string treno = leggi_file(r.treno, byte_massimi_sorgente);

  const bool imballa = r.cosa == azione::pack;
  f.cartella = r.cartella_uscita;
  const std::vector<std::filesystem::path> destinazioni = file_imballati(f);
  if (imballa)
    for (const std::filesystem::path& d : destinazioni)
      if (stesso_file(d, r.linea) || stesso_file(d, r.treno))
        throw errore_file(d.lexically_normal(), "is one of the sources given; it would be overwritten by a packed file");

  cartella_privata privata;
  f.cartella = privata.percorso;
  sostituisci_file(file_linea_sorgente(f), linea);
  sostituisci_file(file_treno_sorgente(f), treno);

  // The packer's own stage: the same parsers, approach pass, checks, stamping and layouts.
  memorizza_percorso(f, imballa && r.senza_linea ? 0 : 1);
  if (!imballa || f.errore_imballaggio != 0) return esito;

  const std::vector<std::filesystem::path> prodotti = file_imballati(f);
  std::error_code ec;
  if (!std::filesystem::is_directory(r.cartella_uscita, ec)) {
    std::filesystem::create_directories(r.cartella_uscita, ec);
    if (ec) throw errore_file(r.cartella_uscita, "cannot create the directory: " + ec.message());
  }
  for (std::size_t i = 0; i < prodotti.size(); ++i) {
    if (!std::filesystem::exists(prodotti[i], ec)) continue;  // the line plan when not asked for
    sposta(prodotti[i], destinazioni[i]);
    esito.scritti.push_back(destinazioni[i].lexically_normal());
  }
  return esito;
}
