// The FLTK widgets of the window layer, for the layer itself and its tests.
#pragma once

#include <string>

class Fl_Window;

// The build's window, 280 x 179 pixels, with the one label "Attendere". Not shown.
Fl_Window* crea_finestra();
// The message box for error `a`: its text and one OK button that closes it. Not shown.
Fl_Window* crea_messaggio(const std::string& a);
// True when a display is named and could be opened; FLTK then works on that connection.
bool display_disponibile();
