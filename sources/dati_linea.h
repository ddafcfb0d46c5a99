// The built-in line: the text of its line source.
#pragma once

#include <string>

// The line Corvana - Telmisa (general values, curves, gradients, tunnels,
// maximum-speed and kilometre boards) as the text of its line source.
std::string dati_linea();
