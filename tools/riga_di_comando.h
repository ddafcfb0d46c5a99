// The command line of the authors' tool, in one table: its commands, each
// with its arguments, options, texts and run, and the options they share. The
// parser, the help texts, the manual page and the bash completion all read it
// (pacchetto/ makes the page and the completion from it at build time).
#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/argomenti.h"
#include "tools/verdetto.h"

// What the shell offers for an option's value or a command's arguments.
enum class completa : uint8_t {
  niente,     // a name, a number, a text: nothing to offer
  cartella,   // a folder
  sorgenti,   // line and train sources, *.txt
  imballati,  // packed files, *.dat and *.sim
  svg,        // a picture, *.svg
  tipi,       // the kinds of packed file
};

// One option: its name, the name of its value (empty for a flag), the help
// row's text, and what it does to the request. `leggi` returns false with
// `errore` set when the value does not fit.
struct opzione {
  std::string_view nome;
  std::string_view valore;
  std::string_view aiuto;
  bool (*leggi)(richiesta& r, const std::string& valore, std::string& errore);
  completa completamento = completa::niente;
};

// The reader of a flag: it sets its field of the request.
template <bool richiesta::*campo>
bool accendi(richiesta& r, const std::string&, std::string&) {
  r.*campo = true;
  return true;
}

// An option as a command lists it: with the help text the command gives it,
// when that differs from the option's own; `alternativa`: written with the
// option before it as one choice, [--a | --b].
struct uso_opzione {
  const opzione* o = nullptr;
  std::string_view aiuto = {};
  bool alternativa = false;
};

// What a command's run is given besides the request.
struct ambiente {
  std::ostream& out;
  std::ostream& err;
  bool err_terminale = false;  // standard error is a terminal
};

struct comando {
  std::string_view nome;
  azione cosa = azione::nessuna;
  std::string_view argomenti;    // "LINE TRAIN", as the usage writes them
  std::string_view sommario;     // the general help's line about it
  std::string_view descrizione;  // what it does, as the help and the page tell it
  std::span<const uso_opzione> opzioni;
  bool modello = false;          // it takes the train model's options too (tools/opzioni_marcia.h)
  std::string_view uscita;       // its exit statuses, in words
  completa completa_argomenti = completa::niente;
  // Checks and completes the request once every argument is read: the
  // positional arguments, options that go together. False with `errore`.
  bool (*concludi)(richiesta& r, const std::vector<std::string>& posizionali, std::string& errore) = nullptr;
  // Runs the command.
  verdetto (*esegui)(const richiesta& r, ambiente& a) = nullptr;
};

// Every command, in the order the help lists them.
std::span<const comando* const> comandi();
// The command named `nome`, or null.
const comando* comando_chiamato(std::string_view nome);
// The command that does `cosa`, or null.
const comando* comando_di(azione cosa);

// The options that the tool's commands share.
extern const opzione opzione_nome, opzione_treno, opzione_uscita, opzione_json, opzione_csv, opzione_forza,
    opzione_severo, opzione_avvisi_come_errori, opzione_margine_minimo, opzione_sorgente, opzione_senza_sorgente;
// The options of the driver's documents (docs, pack --docs).
extern const opzione opzione_classificazione, opzione_massa, opzione_partenza, opzione_firma, opzione_contatto;

// The help texts, made from the table: the tool's, and each command's.
std::string aiuto_generale();
std::string aiuto_comando(const comando& c);
// "usage: scenario pack LINE TRAIN [-o DIR] ..." in lines of at most 80
// characters, the later ones indented under the first option.
std::string uso_comando(const comando& c);
// The text `testo` in lines of at most `larghezza` characters, the first
// starting at column `primo`, the others indented by `rientro` spaces.
std::string avvolto(std::string_view testo, std::size_t primo, std::size_t rientro, std::size_t larghezza = 80);

// Shared pieces of the commands that compile: the sources' names checked and
// found from the file names, and the scenario's name checked as a file name's part.
bool concludi_sorgenti(richiesta& r, const std::vector<std::string>& posizionali, std::string& errore);
bool nome_valido(const std::string& nome, const char* cosa, std::string& errore);
