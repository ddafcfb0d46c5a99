// Where the packer may write its files: beside itself, as it stands in the
// simulator's folder, but never in the system's own directories nor where an
// installation keeps it. A file left there belongs to no package and outlives
// the package's removal.
#pragma once

#include <filesystem>
#include <string>

// Why the packer may not write in `cartella`, the absolute directory that
// holds it: "a system directory" (the root, /bin, /etc, /lib, /usr/bin,
// /usr/local/share and the like, and all below them), or "where it is
// installed" (any PREFIX/libexec/impacchetta). Empty when it may.
std::string cartella_vietata(const std::filesystem::path& cartella);

// The way out for a user whose packer cannot write beside itself, as lines for
// standard error: a copy in a folder of one's own, or the tool's command.
std::string altra_via();
