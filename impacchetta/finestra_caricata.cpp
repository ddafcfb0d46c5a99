// The packer's window layer: the same calls as impacchetta/finestra.cpp, which is
// loaded as a module (libfinestra_fltk.so) only when a display is named. The
// libraries of a window system cost a run more than its whole build, and a
// run without a display needs none of them.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "impacchetta/finestra.h"

namespace {

struct modulo_finestra {
  void (*mostra)() = nullptr;
  void (*chiudi)() = nullptr;
  void (*errore)(const char*) = nullptr;
};

// The module when a display is named and the module loads; otherwise null,
// and the calls speak on the terminal. A module that cannot be loaded is told
// on standard error: the run goes on without its window.
const modulo_finestra* modulo() {
  static const modulo_finestra* caricato = []() -> const modulo_finestra* {
    const char* nome = std::getenv("DISPLAY");
    if (nome == nullptr || *nome == '\0') return nullptr;
    // Beside the program: the build tree, an installation's
    // PREFIX/libexec/impacchetta/, or a copy made with its module.
    std::error_code ec;
    const std::filesystem::path modulo =
        std::filesystem::read_symlink("/proc/self/exe", ec).parent_path() / "libfinestra_fltk.so";
    void* h = nullptr;
    std::error_code ec_modulo;
    if (!ec && std::filesystem::exists(modulo, ec_modulo)) h = ::dlopen(modulo.c_str(), RTLD_NOW | RTLD_LOCAL);
    static modulo_finestra m;
    if (h != nullptr) {
      m.mostra = reinterpret_cast<void (*)()>(::dlsym(h, "impacchetta_mostra_finestra"));
      m.chiudi = reinterpret_cast<void (*)()>(::dlsym(h, "impacchetta_chiudi_finestra"));
      m.errore = reinterpret_cast<void (*)(const char*)>(::dlsym(h, "impacchetta_errore"));
    }
    if (m.mostra == nullptr || m.chiudi == nullptr || m.errore == nullptr) {
      const char* motivo = h != nullptr ? "incomplete module" : ::dlerror();
      std::fprintf(stderr, "impacchetta: no window: %s\n",
                   motivo != nullptr ? motivo : "no libfinestra_fltk.so beside the program");
      return nullptr;
    }
    return &m;
  }();
  return caricato;
}

}  // namespace

void mostra_finestra() {
  if (const modulo_finestra* m = modulo()) return m->mostra();
  std::puts("Attendere");
  std::fflush(stdout);
}

void chiudi_finestra() {
  if (const modulo_finestra* m = modulo()) m->chiudi();
}

void errore(const std::string& a) {
  if (const modulo_finestra* m = modulo()) m->errore(a.c_str());  // never returns
  std::fprintf(stderr, "%s\n", testo_errore(a).c_str());
  std::exit(1);
}
