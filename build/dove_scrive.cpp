#include "build/dove_scrive.h"

#include <iterator>
#include <string_view>

std::string cartella_vietata(const std::filesystem::path& cartella) {
  const std::filesystem::path c = cartella.lexically_normal();
  // The root and the hierarchies below it that the system and its packages
  // own (with merged /usr, /bin and /lib are links into /usr).
  static constexpr std::string_view di_sistema[] = {"bin",   "boot",   "dev",  "etc",  "lib", "lib32",
                                                    "lib64", "libx32", "proc", "sbin", "sys", "usr"};
  if (c.has_root_directory()) {
    auto primo = std::next(c.begin());
    if (primo == c.end() || primo->empty()) return "a system directory";
    for (const std::string_view d : di_sistema)
      if (*primo == d) return "a system directory";
  }
  // PREFIX/libexec/impacchetta, in any prefix: the tree that was installed is
  // left as it was installed.
  const std::filesystem::path senza_barra = c.filename().empty() ? c.parent_path() : c;
  if (senza_barra.filename() == "impacchetta" && senza_barra.parent_path().filename() == "libexec")
    return "where it is installed";
  return {};
}

std::string altra_via() {
  return "impacchetta: copy impacchetta and libfinestra_fltk.so into a folder of your own (the "
         "simulator's) and run the copy there,\n"
         "impacchetta: or write the same six files into any directory with: scenario builtin -o DIR\n";
}
