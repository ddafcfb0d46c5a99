// The authors' tool: pack, check and dump a scenario.
#pragma once

#include <ostream>
#include <span>
#include <string>

// Runs the tool on the arguments after the program's name, writing results to
// `out` and diagnostics to `err`. Returns the exit status: 0 done, no error;
// 1 packed or checked, with errors recorded; 2 usage error or a file that
// cannot be read or written; 3 refused by a packing check, nothing written.
// `err_terminale`: `err` is a terminal, where a pack or check shows each
// diagnostic's source line and ends with a summary.
int esegui_scenario(std::span<const std::string> argomenti, std::ostream& out, std::ostream& err,
             bool err_terminale = false);
