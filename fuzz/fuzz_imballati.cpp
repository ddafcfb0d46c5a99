// Any bytes read as each of the three packed files, as `dump` and `plot` read
// a file an author names: the decoder refuses them with a reason, or reads a
// scenario that packs back to the very bytes it was read from.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/banco_fuzz.h"
#include "packer/file_imballati.h"

namespace {

template <class Decodifica, class Codifica>
void prova(std::string_view byte, const char* quale, Decodifica decodifica, Codifica codifica) {
  scenario s;
  std::string motivo;
  if (!decodifica(byte, s, motivo)) {
    if (motivo.empty()) {
      std::fprintf(stderr, "fuzz: a %s refused with no reason\n", quale);
      std::abort();
    }
    return;
  }
  if (codifica(s) != byte) {
    std::fprintf(stderr, "fuzz: a %s read back does not pack to its own bytes\n", quale);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, std::size_t quanti) {
  if (quanti > byte_massimi_fuzz) return -1;
  const std::string_view byte(reinterpret_cast<const char*>(dati), quanti);
  prova(byte, "route grid", decodifica_percorso, codifica_percorso);
  prova(byte, "station table", decodifica_stazioni, codifica_stazioni);
  prova(byte, "line plan", decodifica_linea, [](const scenario& s) { return codifica_linea(s); });
  return 0;
}
