// The stages of the build, in their fixed order.
#pragma once

#include <filesystem>

#include "compiler/form1.h"

// Names the built-in scenario (Corvana_Telmisa, train 739) and sets the
// directory that all its files lie in.
void nomina_scenario(Form1& f, const std::filesystem::path& cartella);

// Runs every stage of the build on `f`, whose scenario name, train number and
// directory are set: the writers of the sources and documents, then the
// compile and the packing. Throws `errore_file` when a file cannot be written.
void esegui_build(Form1& f);
