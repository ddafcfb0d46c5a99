// The built-in train: the text of its train source.
#pragma once

#include <string>

// Train 739's run over the line (consist, clock, speed limits, stations and
// times, slow orders, signals) as the text of its train source.
std::string dati_treno();
