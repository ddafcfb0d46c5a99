#include "tools/riferimento.h"

#include <string_view>

namespace {

bool lettera_di_nome(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

std::filesystem::path cartella_riferimento() {
  std::error_code ec;
  const std::filesystem::path bin = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
  if (ec) return {};
  const std::filesystem::path cartella = (bin.parent_path() / "share" / "doc" / "impacchetta").lexically_normal();
  return std::filesystem::is_regular_file(cartella / "README.md", ec) ? cartella : std::filesystem::path();
}

std::string con_riferimento(const std::string& testo, const std::filesystem::path& cartella) {
  if (cartella.empty()) return testo;
  constexpr std::string_view docs = "docs/", md = ".md";
  std::string r;
  std::size_t da = 0;
  for (std::size_t p = testo.find(docs); p != std::string::npos; p = testo.find(docs, p + 1)) {
    // docs/ that begins a path of its own, followed by a name and .md.
    if (p > 0 && (lettera_di_nome(testo[p - 1]) || testo[p - 1] == '/')) continue;
    std::size_t fine = p + docs.size();
    while (fine < testo.size() && lettera_di_nome(testo[fine])) ++fine;
    if (fine == p + docs.size() || testo.compare(fine, md.size(), md) != 0) continue;
    r.append(testo, da, p - da);
    r += (cartella / testo.substr(p + docs.size(), fine + md.size() - p - docs.size())).string();
    da = fine + md.size();
  }
  return r + testo.substr(da);
}
