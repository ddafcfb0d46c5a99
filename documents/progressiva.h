// The line's own kilometre at a point of the route.
#pragma once

#include <cstdint>

#include "formato/scenario.h"

// The line's kilometre, in metres, at route position `posizione` (metres from
// the start of the route), read through the kilometre references of slots
// `slot_progressiva_alta` .. `slot_progressiva_bassa` as the compiler ordered
// them. A reference (first, second) says: from route position `first` on,
// the line's kilometre at that point is `second` metres, growing with the
// route. The reference with the largest first value not beyond the point
// applies (on equal first values, the one the ordering put in the higher
// slot); before every reference the kilometre is the route position itself.
// A reference of all zeros reads as the route position too, so a line without
// references (the built-in one) counts its kilometres from the route's start.
// The third value takes no part: the ordering has already added what it says.
int64_t progressiva(const scenario& f, int64_t posizione);
