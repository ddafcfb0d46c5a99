// The language server fed a client's whole stream: any bytes, framed or not,
// read in pieces of a size the input decides, with the disk out of reach.
// Aborts when the server does not end as the protocol says (0 or 1), or
// writes anything but framed JSON.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "fuzz/banco_fuzz.h"
#include "tools/lsp/servitore.h"

namespace {

// Every framed message of `uscita` parses as JSON, and nothing else is there.
bool solo_json_incorniciato(std::string_view uscita) {
  constexpr std::string_view testa = "Content-Length: ";
  while (!uscita.empty()) {
    if (uscita.substr(0, testa.size()) != testa) return false;
    const std::size_t fine = uscita.find("\r\n\r\n");
    if (fine == std::string_view::npos) return false;
    std::size_t n = 0;
    for (const char c : uscita.substr(testa.size(), fine - testa.size())) {
      if (c < '0' || c > '9') return false;
      n = n * 10 + static_cast<std::size_t>(c - '0');
    }
    if (uscita.size() < fine + 4 + n) return false;
    if (nlohmann::json::parse(uscita.substr(fine + 4, n), nullptr, false).is_discarded()) return false;
    uscita.remove_prefix(fine + 4 + n);
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, std::size_t quanti) {
  if (quanti > byte_massimi_fuzz) return -1;
  const std::string_view ingresso(reinterpret_cast<const char*>(dati), quanti);
  const std::size_t pezzo = 1 + quanti % 61;
  std::size_t letti = 0;
  std::string uscita;
  canale_lsp c;
  c.leggi = [&](char* dove, std::size_t n) {
    const std::size_t k = std::min({n, pezzo, ingresso.size() - letti});
    std::memcpy(dove, ingresso.data() + letti, k);
    letti += k;
    return k;
  };
  c.pronto = [&] { return letti < ingresso.size(); };
  c.scrivi = [&](std::string_view byte) {
    uscita.append(byte);
    return true;
  };
  opzioni_servitore o;
  o.disco = false;
  const int stato = servi(c, o);
  if (stato != 0 && stato != 1) std::abort();
  if (!solo_json_incorniciato(uscita)) std::abort();
  return 0;
}
