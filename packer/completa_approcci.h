// The approach points that slow orders and their signals need.
#pragma once

#include <cstdint>

#include "compiler/registro.h"
#include "formato/scenario.h"

// Every point the pass lays asks for 180 km/h.
inline constexpr int16_t velocita_approccio = 180;

// One pass over the route grid: points (tipo 12, speed 180) before signals
// behind warning boards, before and along slow orders, and before the first
// signal after them. Records errors 11, 12, 13 with the cell's position in `r`
// and goes on; each point laid keeps, in the cells' origins, the row it is for.
void completa_approcci(scenario& s, registro& r);
