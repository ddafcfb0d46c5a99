// The command line of the authors' tool: what the author asked for.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "analisi/marcia.h"

enum class azione { nessuna, aiuto, versione, pack, check, dump, plot, timing };
enum class formato { testo, json, csv };
enum class tipo_imballato { nessuno, percorso, stazioni, linea };

struct richiesta {
  azione cosa = azione::nessuna;
  azione aiuto_su = azione::nessuna;  // --help after a command: that command's help

  // pack, check, timing
  std::filesystem::path linea;
  std::filesystem::path treno;
  std::filesystem::path cartella_uscita = ".";
  std::string nome_scenario;  // empty until given or found from the file names
  std::string numero_treno;
  bool senza_linea = false;  // --no-line-plan

  // dump
  std::filesystem::path file;
  tipo_imballato tipo = tipo_imballato::nessuno;  // from --kind, else from the name
  bool tutti = false;                             // --all

  // plot: the directory of the packed files and the picture to write
  std::filesystem::path cartella_imballati;
  std::filesystem::path file_disegno;

  // The train model of the fastest run, where the author overrides it
  // (--acceleration, --braking, --dwell, ...): for every command that times the run.
  opzioni_marcia marcia;

  formato forma = formato::testo;
};

// Reads the arguments after the program's name into `r`. Returns false with
// `errore` (one line, for the author) on a usage error. Names and numbers
// not given are found from the file names; the kind of a dumped file from its name.
bool leggi_argomenti(std::span<const std::string> argomenti, richiesta& r, std::string& errore);

// "X" from a line source named "X_linea.txt"; false when the name has another form.
bool nome_da_file(const std::filesystem::path& linea, std::string& nome);
// "739" from a train source named "X_739-.txt"; false when the name has another form.
bool numero_da_file(const std::filesystem::path& treno, std::string& numero);
// The scenarios packed in `cartella`: a name and a number for every station
// table "X_N.sim" found there (split at the last underscore), in name order.
// Throws `std::filesystem::filesystem_error` when the directory cannot be read.
std::vector<std::pair<std::string, std::string>> scenari_in_cartella(
    const std::filesystem::path& cartella);

// The kind of a packed file from its name's ending: "_linea.dat" the line plan,
// another ".dat" the route grid, ".sim" the station table.
tipo_imballato tipo_da_nome(const std::filesystem::path& file);
