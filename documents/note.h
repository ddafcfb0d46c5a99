// The scenario notes handed to the driver: a few lines that introduce the run.
#pragma once

#include <string>

// The text of the notes: seven fixed lines.
std::string dati_note();
