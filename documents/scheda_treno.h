// The train sheet: the driver's four-page timetable of the run.
#pragma once

#include <string>

// The text of the train sheet: 205 fixed lines.
std::string dati_scheda();
