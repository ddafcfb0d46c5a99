// The built-in line: the text of its line source.
#pragma once

#include <string>
#include <string_view>

// The built-in scenario's name: its files are named from it.
inline constexpr std::string_view nome_scenario_incorporato = "Corvana_Telmisa";

// The line Corvana - Telmisa (general values, curves, gradients, tunnels,
// maximum-speed and kilometre boards) as the text of its line source.
std::string dati_linea();
