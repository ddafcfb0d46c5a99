// The timetable's warnings: what the fastest run finds in a scenario that
// compiles but that the driver cannot keep, or only just.
//
// 361  a section scheduled shorter than the fastest run: the train arrives late
//      however it is driven;
// 362  a section scheduled shorter than the fastest run and its recovery
//      margin: a late start or a cautious brake cannot be made up;
// 363  a stretch of the run with no speed limit laid: the run goes there at
//      the train's top speed, and the simulator has no limit to show;
// 364  a dwell given for a station where the train does not stand between
//      two sections: it is not used.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "analisi/marcia.h"
#include "compiler/codici_avviso.h"
#include "compiler/registro.h"
#include "compiler/righe_lette.h"

// The row the compiler read for the station in `slot`: the slot-th station row
// of the log, in the order read; null when the log holds no such row.
const riga_letta* riga_della_stazione(const registro& reg, int slot);

// The timetable's warnings of the fastest run `m` (with its train model and
// recovery margin) of a scenario whose build told `reg`: per section, in
// running order, 361 or 362; then every stretch with no limit laid (363),
// then every dwell given for no stop (364). 361 and 362 stand at the row of
// the section's arriving stop (its time is the one to move) in the train
// source, when the log gives that row; 363 and 364 have no row to stand at,
// and 363 is not told after an error (the compiler lays the last limit to the
// route's end only when it reads the train source to its end). A recovery
// margin of 0 turns 362 off.
std::vector<avviso_registrato> avvisi_marcia(const registro& reg, const marcia& m);

// A running time as the timetable writes it: "10:54" (minutes and seconds),
// "1:02:30" from an hour up, "-0:40" below 0; seconds rounded half to even.
std::string durata(double secondi);

// A recovery margin as the reports write it: "5 % + 1.5 min/100 km", "3 %", "none".
std::string testo_margine(const margine_recupero& m);
