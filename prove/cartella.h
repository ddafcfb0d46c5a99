// A private temporary directory for a test, removed with everything in it.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

struct cartella_prova {
  std::filesystem::path percorso;
  cartella_prova() {
    std::string modello = (std::filesystem::temp_directory_path() / "impacchetta-XXXXXX").string();
    if (::mkdtemp(modello.data()) == nullptr) std::abort();
    percorso = modello;
  }
  ~cartella_prova() {
    std::error_code ec;
    std::filesystem::remove_all(percorso, ec);
  }
  cartella_prova(const cartella_prova&) = delete;
  cartella_prova& operator=(const cartella_prova&) = delete;
};
