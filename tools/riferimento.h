// Where the authors' reference stands. The help texts name its files as
// docs/NAME.md, where they are in the sources; an installed tool names them
// where the installation put them.
#pragma once

#include <filesystem>
#include <string>

// PREFIX/share/doc/impacchetta for the tool running as PREFIX/bin/scenario,
// when the reference's README.md is there; empty otherwise (a build tree,
// whose reference is the sources' docs/).
std::filesystem::path cartella_riferimento();

// `testo` with each docs/NAME.md made CARTELLA/NAME.md; unchanged when
// `cartella` is empty.
std::string con_riferimento(const std::string& testo, const std::filesystem::path& cartella);
