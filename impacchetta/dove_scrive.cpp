#include "impacchetta/dove_scrive.h"

#include <iterator>
#include <span>
#include <string_view>

namespace {

// The system's own hierarchies, below the root (with merged /usr, /bin and
// /lib are links into /usr)...
constexpr std::string_view dalla_radice[] = {"bin", "boot", "dev", "etc", "lib", "lib32", "lib64", "libx32",
                                             "proc", "sbin", "sys"};
// ...and those below /usr and /usr/local. Their src/ is not one of them: a
// checkout there builds and runs its packer in its own tree.
constexpr std::string_view da_usr[] = {"bin",    "etc",     "games",   "include", "lib",  "lib32",
                                       "lib64", "libexec", "libx32", "man",     "sbin", "share"};

bool tra(const std::filesystem::path& nome, std::span<const std::string_view> nomi) {
  for (const std::string_view n : nomi)
    if (nome == n) return true;
  return false;
}

}  // namespace

std::string cartella_vietata(const std::filesystem::path& cartella) {
  std::filesystem::path c = cartella.lexically_normal();
  if (!c.empty() && c.filename().empty()) c = c.parent_path();  // "/etc/" as "/etc"
  // PREFIX/libexec/impacchetta, in any prefix (/usr's among them): the tree
  // that was installed is left as it was installed.
  if (c.filename() == "impacchetta" && c.parent_path().filename() == "libexec") return "where it is installed";
  if (c.has_root_directory()) {
    auto p = std::next(c.begin());
    if (p == c.end() || tra(*p, dalla_radice)) return "a system directory";
    if (*p == "usr") {
      ++p;
      if (p != c.end() && *p == "local") ++p;
      if (p == c.end() || tra(*p, da_usr)) return "a system directory";
    }
  }
  return {};
}

std::string altra_via() {
  return "impacchetta: copy impacchetta and libfinestra_fltk.so into a folder of your own (the "
         "simulator's) and run the copy there,\n"
         "impacchetta: or write the same six files into any directory with: scenario builtin -o DIR\n";
}
