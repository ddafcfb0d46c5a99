// `scenario timing`: the fastest run of a compiled scenario against its
// timetable, told as a table, as JSON or as CSV.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "analisi/marcia.h"
#include "tools/argomenti.h"
#include "tools/compila.h"

// A value of the run's inputs as the run used it, and where it came from.
struct valore_usato {
  std::string_view chiave;   // its JSON key: "potenza_kw"
  std::string_view nome;     // in the table: "power"
  double valore = 0.0;
  std::string_view unita;    // "kW"
  std::string_view origine;  // "option", "train source", "reference train", "route", "default" or "derived"
  std::string nota;          // what the table says of its origin
  std::string testo;         // a value that is a word ("locomotive", "tail"), instead of the number
  int decimali = 1;          // in the table
};

// Every input of the run `m` (worked out from `f` and `o`), each with its
// origin; the dwells given for single stops are in `m.modello.soste`.
std::vector<valore_usato> valori_usati(const scenario& f, const opzioni_marcia& o, const modello_treno& m);

// A row of the timing table, in running order: the departure from a stop,
// the passing of a station, the arrival at a stop (which ends a section).
enum class evento { partenza, passaggio, arrivo };

struct riga_orario {
  evento cosa = evento::partenza;
  stazione_marcia stazione;
  double ora_orario_s = 0.0;                // the departure as given; the passing time spread over
                                            // the margin, to the minute; the arrival the timetable allows
  std::optional<double> ora_piu_veloce_s;   // the fastest run's passing or arrival
  const sezione* fine_di = nullptr;         // the section an arrival ends
};

std::vector<riga_orario> righe_orario(const marcia& m);

// What `scenario timing` prints on standard output for `m`, the fastest run
// of `f` (of the compile `e`, for the JSON) with the options `o`, and `d`,
// what decides each of its sections. The JSON object begins with the
// build's errors, as `scenario check --json` gives them. With `reg`, the
// compile's register, the table says what its errors left unread.
void scrivi_orario_testo(const scenario& f, const opzioni_marcia& o, const marcia& m,
                         const std::vector<decisione_sezione>& d, std::ostream& out,
                         const registro* reg = nullptr);
void scrivi_orario_csv(const marcia& m, std::ostream& out);
void scrivi_profilo_csv(const marcia& m, std::ostream& out);
nlohmann::ordered_json orario_json(const esito_comando& e, const opzioni_marcia& o, const marcia* m,
                                   const std::vector<decisione_sezione>& d = {});
// That object as `dump(2)` writes it (strings' bad bytes replaced), written
// faster: what `scenario timing --json` prints.
void scrivi_orario_json(const esito_comando& e, const opzioni_marcia& o, const marcia* m,
                        const std::vector<decisione_sezione>& d, std::ostream& out);

// True when every section of `m` can be kept.
bool tutte_mantenibili(const marcia& m);
