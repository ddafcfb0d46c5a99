#include "build/nomi_file.h"

namespace {

// The directory and the name, joined by the platform's separator.
std::filesystem::path nel(const Form1& f, const std::string& nome) { return f.cartella / nome; }

std::string treno(const Form1& f) { return f.nome_scenario + "_" + f.numero_treno; }

}  // namespace

std::filesystem::path file_linea_sorgente(const Form1& f) { return nel(f, f.nome_scenario + "_linea.txt"); }
std::filesystem::path file_treno_sorgente(const Form1& f) { return nel(f, treno(f) + "-.txt"); }
std::filesystem::path file_note(const Form1& f) { return nel(f, treno(f) + "_note.txt"); }
std::filesystem::path file_rallentamenti(const Form1& f) { return nel(f, treno(f) + "_rallentamenti.txt"); }
std::filesystem::path file_scheda_treno(const Form1& f) { return nel(f, treno(f) + "_scheda_treno.txt"); }
std::filesystem::path file_linea_imballata(const Form1& f) { return nel(f, f.nome_scenario + "_linea.dat"); }
std::filesystem::path file_stazioni_imballate(const Form1& f) { return nel(f, treno(f) + ".sim"); }
std::filesystem::path file_percorso_imballato(const Form1& f) { return nel(f, treno(f) + ".dat"); }

std::filesystem::path cartella_programma() {
  std::error_code ec;
  const std::filesystem::path eseguibile = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path();
  return eseguibile.parent_path();
}
