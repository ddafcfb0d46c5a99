#include "formato/scrivi_righe.h"

#include <algorithm>

std::string scrivi_righe(std::span<const std::string_view> righe) {
  const std::size_t quante = std::min(righe.size(), righe_massime);
  std::string testo;
  for (std::size_t i = 0; i < quante && righe[i] != sentinella; ++i) {
    testo += righe[i];
    testo += "\r\n";
  }
  return testo;
}
