// Fields that no rule reads, told to the author (warning 301).
//
// A field after the general heading that matches no row kind and is no
// section heading is skipped by the parsers, and so are the values that
// follow it: they are read as keyword fields in turn and match nothing
// either. One warning tells such a run of fields, at its first field, with
// the nearest keyword when one is close. A field with a hyphen is passed over
// by the parsers without a test: it is told the same way (`cartello-indicatore`),
// unless it begins with the hyphen, the form of a note ("-- gradients --").
#pragma once

#include <cstdint>
#include <string>
#include <span>
#include <string_view>

#include "compiler/compilazione.h"

// Where in the sources a field stands, for the keywords it is tested against.
enum class parte_sorgente : uint8_t { generale_linea, corpo_linea, treno };

// What stands just before a field on its line, when it says why the field
// is left over: "4,5" (a decimal comma), "Km 9,996" (a comma in a text),
// "110 km/h" (a unit after a number), "120, 5" (a value too many), "0, BORGO"
// (a value too many before a name, which took the name's place).
enum class prima_del_campo : uint8_t {
  altro, numero_e_virgola, testo_e_virgola, numero_e_spazio, valore_in_piu, nome_numero
};
struct vicino_campo {
  prima_del_campo tipo = prima_del_campo::altro;
  std::string campo;  // the field before, as written
};

// The run of skipped fields being gathered in one part of a source.
struct campi_ignorati {
  parte_sorgente parte = parte_sorgente::treno;
  bool con_curve = true;    // curve rows are read (the line plan is built)
  bool aperto = false;      // a run is open
  std::string primo;        // its first field, as written
  int32_t riga = 0, colonna = 0;
  int32_t altri = 0;        // fields after the first
  std::string perche;       // why the first field is no row
  std::string vicina;       // the nearest keyword, when one is close
  bool valore = false;      // the first field is a number
  std::string nota;         // what the run is, when known (the values of a swallowed row)
  std::string nota_prossima;  // the note for a run that opens at the very next field
  int valori_curva = 0;     // numbers still to come of a curve row read without the plan
  // Rows of the other source met here: how many, and the first one's field and place.
  int32_t altre_righe = 0;
  std::string prima_altra;
  int32_t riga_altra = 0, colonna_altra = 0;
  // In the line's body: the field that ended the general section and its
  // place; whether it is one of the customary body headings; whether a
  // general row after it has been told (316).
  std::string fine_generale;
  int32_t riga_fine_generale = 0, colonna_fine_generale = 0;
  bool fine_generale_consueta = true;
  bool fine_generale_detta = false;
};

// A field that no rule reads, at line `riga`, column `colonna`; `trattino`
// when it was passed over for its hyphen. A heading closes the open run.
void campo_ignorato(compilazione& f, campi_ignorati& c, std::string_view campo, int32_t riga, int32_t colonna,
                    bool trattino, const vicino_campo& prima = {});
// A field that a rule reads: the open run is told.
void campo_letto(compilazione& f, campi_ignorati& c);
// A curve row when the plan is not built: no row, but no mistake either; its
// two numbers are passed over in silence.
void curva_senza_piano(compilazione& f, campi_ignorati& c);
// A field in brackets, a comment or a heading, that holds the keyword of row
// kind `riga` (as the writers write it) and is read as that row: told (309)
// at the field, line `riga_campo`, column `colonna`.
void commento_letto(compilazione& f, std::string_view campo, std::string_view riga, int32_t riga_campo,
                    int32_t colonna);
// True for the headings the reference gives the line's body ("[curve]",
// "[pendenze]", ... "[fine]"), blanks and case aside.
bool intestazione_consueta(std::string_view campo);
// The last field of the file, which is read but never interpreted.
void ultimo_campo(compilazione& f, campi_ignorati& c, std::string_view campo, int32_t riga, int32_t colonna);

// The restricted Damerau-Levenshtein distance (insertions, deletions,
// substitutions and swaps of two neighbours, each 1) between two texts, of
// their first 64 letters at most.
int distanza_parole(std::string_view a, std::string_view b);
// The keyword of `parole` nearest to `campo` (compared in lower case, whole
// or with one of the keyword's words of 5 letters or more), when it is close:
// at most 1 edit away from a word or keyword of up to 6 letters, at most 2
// from a longer one. Empty when none is.
std::string_view parola_vicina(std::string_view campo, std::span<const std::string_view> parole);
