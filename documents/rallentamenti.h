// The slow-order form handed to the driver: one row per slow order of the run.
#pragma once

#include <string>

// The text of the slow-order form: 46 fixed lines.
std::string dati_rallentamenti();
