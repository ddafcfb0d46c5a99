// The train source after the built-in line, which compiles without an error.
// The line plan is left out: the line is the same every time, so it would
// only cost time.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/banco_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, std::size_t quanti) {
  if (quanti > byte_massimi_fuzz) return -1;
  compila_sorgenti(linea_incorporata(), std::string_view(reinterpret_cast<const char*>(dati), quanti), 0);
  return 0;
}
