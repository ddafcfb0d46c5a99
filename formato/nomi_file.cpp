#include "formato/nomi_file.h"

namespace {

std::string unisci(std::string_view a, std::string_view b, std::string_view c = {}, std::string_view d = {}) {
  std::string s;
  s.reserve(a.size() + b.size() + c.size() + d.size());
  return s.append(a).append(b).append(c).append(d);
}

}  // namespace

std::string file_linea_sorgente(std::string_view nome) { return unisci(nome, coda_linea_sorgente); }
std::string file_treno_sorgente(std::string_view nome, std::string_view treno) {
  return unisci(nome, "_", treno, coda_treno_sorgente);
}
std::string file_note(std::string_view nome, std::string_view treno) { return unisci(nome, "_", treno, "_note.txt"); }
std::string file_rallentamenti(std::string_view nome, std::string_view treno) {
  return unisci(nome, "_", treno, "_rallentamenti.txt");
}
std::string file_scheda_treno(std::string_view nome, std::string_view treno) {
  return unisci(nome, "_", treno, "_scheda_treno.txt");
}

std::string file_imballato_di(file_imballato quale, std::string_view nome, std::string_view treno) {
  switch (quale) {
    case file_imballato::linea: return unisci(nome, coda_linea_imballata);
    case file_imballato::stazioni: return unisci(nome, "_", treno, coda_stazioni_imballate);
    case file_imballato::percorso: break;
  }
  return unisci(nome, "_", treno, coda_percorso_imballato);
}
