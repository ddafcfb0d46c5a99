// Small source fixtures for the compiler's tests: a line and a train source
// written into a private directory, compiled, and looked at afterwards.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "build/nomi_file.h"
#include "compiler/form1.h"
#include "compiler/memorizza_dati.h"
#include "prove/cartella.h"

// `testo` with every line ended by CR LF, as the writers write it.
inline std::string con_crlf(std::string_view testo) {
  std::string out;
  out.reserve(testo.size() + testo.size() / 16);
  for (char c : testo) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// A line of `lunghezza` metres: the general section, then `corpo` (rows ended
// by '\n'), then "[fine]".
inline std::string linea_prova(int32_t lunghezza, std::string_view corpo = "") {
  return "[generale]\n"
         "lunghezza percorso,    " + std::to_string(lunghezza) + "\n"
         "progressiva chilometrica uno,    0,    0,    0\n"
         "progressiva chilometrica due,    0,    0,    0\n"
         "progressiva chilometrica tre,    0,    0,    0\n"
         "sfondo uno,    1\n"
         "sfondo due,    0\n"
         "sfondo tre,    0\n"
         "ripetizione segnali 4 codici,    0,    0\n"
         "[curve]\n" + std::string(corpo) + "[fine]\n";
}

// A train source: "[generale]", `corpo`, "[fine]".
inline std::string treno_prova(std::string_view corpo = "") {
  return "[generale]\n" + std::string(corpo) + "[fine]\n";
}

struct prova_compilazione {
  cartella_prova cartella;
  Form1 f;

  explicit prova_compilazione(int32_t salva_linea = 0) {
    f.cartella = cartella.percorso;
    f.nome_scenario = "Prova_Linea";
    f.numero_treno = "12";
    f.salva_linea = salva_linea;
  }

  // Writes the sources (lines ended by '\n' become CR LF) exactly as given.
  void scrivi(const std::filesystem::path& file, std::string_view testo) const {
    std::ofstream out(file, std::ios::binary);
    out << con_crlf(testo);
  }
  void linea(std::string_view testo) const { scrivi(file_linea_sorgente(f), testo); }
  void treno(std::string_view testo) const { scrivi(file_treno_sorgente(f), testo); }

  // Writes both sources and compiles them.
  Form1& compila(std::string_view testo_linea, std::string_view testo_treno) {
    linea(testo_linea);
    treno(testo_treno);
    memorizza_dati(f);
    return f;
  }

  bool linea_rimasta() const { return std::filesystem::exists(file_linea_sorgente(f)); }
  bool treno_rimasto() const { return std::filesystem::exists(file_treno_sorgente(f)); }
  bool sorgenti_rimasti() const { return linea_rimasta() || treno_rimasto(); }
};

// Compiles `testo_linea` and `testo_treno` in a fresh directory.
inline std::unique_ptr<prova_compilazione> compila_prova(std::string_view testo_linea,
                                                         std::string_view testo_treno = treno_prova(),
                                                         int32_t salva_linea = 0) {
  auto p = std::make_unique<prova_compilazione>(salva_linea);
  p->compila(testo_linea, testo_treno);
  return p;
}
