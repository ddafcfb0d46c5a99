// A whole scenario compiled and packed: the input is the line source, one NUL
// byte, then the train source (no NUL: the line source alone, and no train),
// with the line plan, as `scenario pack` builds it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "fuzz/banco_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, std::size_t quanti) {
  if (quanti > byte_massimi_fuzz) return -1;
  const std::string_view tutto(reinterpret_cast<const char*>(dati), quanti);
  const std::size_t separatore = tutto.find('\0');
  std::optional<std::string_view> treno;
  if (separatore != std::string_view::npos) treno = tutto.substr(separatore + 1);
  compila_sorgenti(tutto.substr(0, separatore), treno, 1);
  return 0;
}
