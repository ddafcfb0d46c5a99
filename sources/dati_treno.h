// The built-in train: the text of its train source.
#pragma once

#include <string>
#include <string_view>

// The built-in train's number: its files are named from it.
inline constexpr std::string_view numero_treno_incorporato = "739";

// Train 739's run over the line (consist, clock, speed limits, stations and
// times, slow orders, signals) as the text of its train source.
std::string dati_treno();
