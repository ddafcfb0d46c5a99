#include "build/fasi.h"

void esegui_build(Form1& f) {
  (void)f;
}
