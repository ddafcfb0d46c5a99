// The author's sources made single-byte text before they are compiled, as the
// packed files hold it, with a warning for what was made of them.
#pragma once

#include <string>
#include <vector>

#include "compiler/codici_avviso.h"

// Makes `testo`, the source labelled `etichetta`, Windows-1252 text in place
// (formato/testo_1252.h) and returns the warnings for it, one per field:
// 302 when every character beyond ASCII of the field had its byte, 303 when
// some had none and were stored as '?'. Headings and comments (fields holding
// both '[' and ']'), and every field before the general heading (or all of
// them when there is none), are converted without a warning: the parsers never
// read them, so nothing of them is stored.
std::vector<avviso_registrato> rendi_1252(std::string& testo, const std::string& etichetta);
