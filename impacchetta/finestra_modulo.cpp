// The window layer as a module that the packer loads only when a display is
// named: a headless run never maps FLTK, X11 and their libraries.
#include "impacchetta/finestra.h"

extern "C" {

__attribute__((visibility("default"))) void impacchetta_mostra_finestra() { mostra_finestra(); }
__attribute__((visibility("default"))) void impacchetta_chiudi_finestra() { chiudi_finestra(); }
__attribute__((visibility("default"))) void impacchetta_errore(const char* a) { errore(a); }

}
