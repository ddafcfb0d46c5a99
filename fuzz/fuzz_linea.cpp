// The line source alone: whatever its bytes, the compile ends with a code.
// With no train source the train half records that it is missing.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/banco_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, std::size_t quanti) {
  if (quanti > byte_massimi_fuzz) return -1;
  compila_sorgenti({reinterpret_cast<const char*>(dati), quanti}, std::nullopt, 1);
  return 0;
}
