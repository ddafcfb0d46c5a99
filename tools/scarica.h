// Readable forms of the three packed files: text columns, CSV or JSON.
#pragma once

#include <array>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "formato/record.h"
#include "formato/vocabolario.h"
#include "tools/argomenti.h"

// Every cell with its index, its position in metres and every field by name;
// cells whose fields are all 0 only when `tutti`; with `solo_elementi` only the
// cells that carry a point feature (a kind other than 0) or an approach mark.
void scarica_percorso(const std::vector<cella_percorso>& celle, formato forma, bool tutti,
                      std::ostream& out, bool solo_elementi = false);
// Every slot with every field; empty slots only when `tutti`.
void scarica_stazioni(const std::array<record_stazione, numero_slot>& tabella, formato forma,
                      bool tutti, std::ostream& out);
// Every point with its metre, x, y and their tags; points with neither
// coordinate filled only when `tutti`.
void scarica_linea(const std::array<asse_linea, 2>& griglia, formato forma, bool tutti,
                   std::ostream& out);

// A CSV field: quoted when it holds a comma, a quote or a line end.
std::string campo_csv(std::string_view t);
