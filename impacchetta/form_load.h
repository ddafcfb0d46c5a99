// The whole life of the packer program.
#pragma once

// Names the scenario, shows the window, runs every stage of the build in the
// program's own directory and ends: returns the program's exit status
// (0, or 2 when a file cannot be written or the directory is one the packer
// never writes in: impacchetta/dove_scrive.h).
int Form_Load();
