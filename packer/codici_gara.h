// The two competition codes, computed from the train number and the scenario name.
#pragma once

#include <cstdint>

#include "formato/scenario.h"

// The filler appended after the train number and the lower-cased scenario name.
inline constexpr char riempitivo_gara[] = "ppqqrrssttuuvvzzjjkkwwxxyy";

// Sum of the character codes of the first 25 characters (at most 6375).
int32_t codice_gara_og(const scenario& f);
// Sum of each of those codes times its position from 1 (at most 82875).
int32_t codice_gara_st(const scenario& f);
