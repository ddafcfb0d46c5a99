#include "build/fasi.h"

#include "packer/memorizza_percorso.h"

void esegui_build(Form1& f) {
  memorizza_percorso(f, 1);
}
