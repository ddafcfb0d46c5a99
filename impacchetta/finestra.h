// The window of the build and its one error message: a thin platform layer.
//
// With a display the window is a real one; without one (DISPLAY unset, or the
// display cannot be opened) the same calls speak on the terminal instead.
#pragma once

#include <string>

// The text of the message box for error `a`: " Errore n. " followed by `a`.
inline std::string testo_errore(const std::string& a) { return " Errore n. " + a; }

// Shows the "Attendere" window without waiting and paints it once
// (on a terminal: prints "Attendere" on standard output).
void mostra_finestra();

// Closes the window, if one is open.
void chiudi_finestra();

// Shows " Errore n. <a>" in a modal box with an OK button only and, after OK,
// ends the program at once with status 1 (on a terminal: the message on
// standard error, no waiting). Never returns.
[[noreturn]] void errore(const std::string& a);
