// The approach points that slow orders and their signals need.
#pragma once

#include "compiler/form1.h"

// One pass over the route grid: points (tipo 12, speed 180) before signals
// behind warning boards, before and along slow orders, and before the first
// signal after them. Records errors 11, 12, 13 with the cell's position and goes on.
void completa_approcci(Form1& f);
