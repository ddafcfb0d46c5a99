#include "documents/progressiva.h"

int64_t progressiva(const scenario& f, int64_t posizione) {
  const record_stazione* scelta = nullptr;
  for (int s = slot_progressiva_alta; s <= slot_progressiva_bassa; ++s) {
    const record_stazione& r = f.tabella_stazioni[s];
    if (r.valore1 <= posizione && (scelta == nullptr || r.valore1 > scelta->valore1)) scelta = &r;
  }
  if (scelta == nullptr) return posizione;
  return static_cast<int64_t>(scelta->valore2) + (posizione - scelta->valore1);
}
