// The stages of the build, in their fixed order.
#pragma once

#include "compiler/form1.h"

// Runs every stage of the build on `f`, whose scenario name, train number and
// directory are set: the writers of the sources and documents, then the
// compile and the packing. Throws `errore_file` when a file cannot be written.
void esegui_build(Form1& f);
