// The timetable's warnings: what the fastest run finds in a scenario that
// compiles but that the driver cannot keep, or only just.
//
// 361  a section scheduled shorter than the fastest run: the train arrives late
//      however it is driven;
// 362  a section whose margin over the fastest run is under the recovery
//      threshold: a late start or a cautious brake cannot be made up;
// 363  a stretch of the run with no speed limit laid: the run goes there at
//      the train's top speed, and the simulator has no limit to show.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "analisi/marcia.h"
#include "compiler/codici_avviso.h"
#include "compiler/registro.h"
#include "compiler/righe_lette.h"

// The recovery threshold, in per cent of the fastest running time. European
// timetabling adds a running-time supplement of some 3 to 7 % to the technical
// running time so that a train can make up small delays; 3 % is the lowest of
// those. The fastest run is itself optimistic (full acceleration at every
// speed), so a section under 3 % over it leaves the driver nothing to spare.
inline constexpr double margine_minimo_predefinito_percento = 3.0;

// The row the compiler read for the station in `slot`: the slot-th station row
// of the log, in the order read; null when the log holds no such row.
const riga_letta* riga_della_stazione(const registro& reg, int slot);

// The timetable's warnings of the fastest run `m` of a scenario whose build
// told `reg`: per section, in running order, 361 or 362; then every stretch
// with no limit laid (363). 361 and 362 stand at the row of the section's
// arriving stop (its time is the one to move) in the train source, when the
// log gives that row; 363 has no row to stand at, and is not told after an
// error (the compiler lays the last limit to the route's end only when it
// reads the train source to its end). A margin of 0 % turns 362 off.
std::vector<avviso_registrato> avvisi_marcia(const registro& reg, const marcia& m, double margine_minimo_percento);

// A running time as the timetable writes it: "10:54" (minutes and seconds),
// "1:02:30" from an hour up, "-0:40" below 0; seconds rounded half to even.
std::string durata(double secondi);
