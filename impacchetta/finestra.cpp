#include "impacchetta/finestra.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "impacchetta/finestra_fltk.h"

namespace {

// The form is measured in twips; at 96 dots per inch 15 twips make a pixel.
constexpr int twip(int t) { return (t + 7) / 15; }
// 24 points at 96 dots per inch.
constexpr int corpo_etichetta = 32;

Fl_Window* finestra = nullptr;

// The program's default title: the name of its executable.
std::string titolo_programma() {
  std::error_code ec;
  const auto eseguibile = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string("impacchetta") : eseguibile.filename().string();
}

const char* titolo() {
  static const std::string t = titolo_programma();
  return t.c_str();
}

void chiudi_messaggio(Fl_Widget* w, void*) { w->window()->hide(); }

}  // namespace

bool display_disponibile() {
  // Opened once and handed to FLTK: closing a probe connection and opening
  // another could meet a server that resets when its last client leaves.
  static const bool aperto = [] {
    const char* nome = std::getenv("DISPLAY");
    if (nome == nullptr || *nome == '\0') return false;
    Display* d = XOpenDisplay(nome);
    if (d == nullptr) return false;
    fl_open_display(d);
    return true;
  }();
  return aperto;
}

Fl_Window* crea_finestra() {
  // Client area 4200 x 2688 twips; the label at 960, 960, 2652 x 792 twips.
  auto* w = new Fl_Window(twip(4200), twip(2688), titolo());
  auto* etichetta = new Fl_Box(twip(960), twip(960), twip(2652), twip(792), "Attendere");
  etichetta->labelfont(FL_HELVETICA_BOLD);
  etichetta->labelsize(corpo_etichetta);
  etichetta->align(FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_INSIDE);
  w->end();
  return w;
}

Fl_Window* crea_messaggio(const std::string& a) {
  auto* w = new Fl_Window(300, 110, titolo());
  auto* testo = new Fl_Box(10, 10, 280, 50);
  testo->copy_label(testo_errore(a).c_str());
  testo->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
  auto* ok = new Fl_Return_Button(110, 72, 80, 26, "OK");
  ok->callback(chiudi_messaggio);
  w->end();
  w->set_modal();
  return w;
}

void mostra_finestra() {
  if (!display_disponibile()) {
    std::puts("Attendere");
    std::fflush(stdout);
    return;
  }
  finestra = crea_finestra();
  finestra->show();
  // Painted once, now: no stage yields to the window system afterwards.
  finestra->wait_for_expose();
  Fl::flush();
}

void chiudi_finestra() {
  if (finestra == nullptr) return;
  finestra->hide();
  delete finestra;
  finestra = nullptr;
  Fl::flush();
}

void errore(const std::string& a) {
  if (!display_disponibile()) {
    std::fprintf(stderr, "%s\n", testo_errore(a).c_str());
    std::exit(1);
  }
  Fl_Window* messaggio = crea_messaggio(a);
  messaggio->show();
  while (messaggio->shown()) Fl::wait();
  std::exit(1);
}
