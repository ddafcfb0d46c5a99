// The window layer: its widgets in-process, and the programs under a display
// (a private virtual display, where Xvfb is installed) or without one.
#include <gtest/gtest.h>
// Xlib after gtest: its macros (None, Bool) clash with gtest's names.
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Window.H>
#include <X11/Xlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <csignal>

#include "impacchetta/finestra.h"
#include "impacchetta/finestra_fltk.h"
#include "prove/cartella.h"

namespace {

std::string leggi(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The packer program copied into a private directory, with its window module
// beside it: it writes beside itself.
std::filesystem::path copia_programma(const cartella_prova& dir) {
  const auto copia = dir.percorso / "impacchetta";
  std::filesystem::copy_file(IMPACCHETTA, copia);
  std::filesystem::copy_file(MODULO_FINESTRA, dir.percorso / "libfinestra_fltk.so");
  return copia;
}

// Runs `comando` through the shell and returns its exit status (-1 if it did not exit).
int esegui(const std::string& comando) {
  const int stato = std::system(comando.c_str());
  return WIFEXITED(stato) ? WEXITSTATUS(stato) : -1;
}

std::string uscita_di(const std::string& comando) {
  std::string testo;
  if (FILE* p = ::popen(comando.c_str(), "r")) {
    char buf[256];
    while (std::fgets(buf, sizeof buf, p)) testo += buf;
    ::pclose(p);
  }
  return testo;
}

bool con_display() { return display_disponibile(); }

// A private Xvfb for this test process. The server picks a free display number
// itself and tells it back, so parallel test runs never share one.
class display_virtuale : public ::testing::Environment {
 public:
  void SetUp() override {
    if (esegui("command -v Xvfb > /dev/null") != 0) return;  // the display tests skip
    int tubo[2];
    if (::pipe(tubo) != 0) return;
    server = ::fork();
    if (server == 0) {
      ::close(tubo[0]);
      if (!std::freopen("/dev/null", "w", stderr)) ::_exit(126);
      const std::string fd = std::to_string(tubo[1]);
      ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset",
               static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(tubo[1]);
    std::string numero;
    char c;
    while (::read(tubo[0], &c, 1) == 1 && c != '\n') numero += c;
    ::close(tubo[0]);
    if (!numero.empty()) ::setenv("DISPLAY", (":" + numero).c_str(), 1);
  }
  void TearDown() override {
    if (server <= 0) return;
    ::kill(server, SIGTERM);
    ::waitpid(server, nullptr, 0);
  }

 private:
  pid_t server = -1;
};

const auto* const display = ::testing::AddGlobalTestEnvironment(new display_virtuale);

}  // namespace

TEST(Finestra, UnaSolaEtichettaAttendereNelleMisureDelModulo) {
  Fl_Window* w = crea_finestra();
  EXPECT_EQ(w->w(), 280);
  EXPECT_EQ(w->h(), 179);
  ASSERT_EQ(w->children(), 1);
  auto* etichetta = dynamic_cast<Fl_Box*>(w->child(0));
  ASSERT_NE(etichetta, nullptr);
  EXPECT_STREQ(etichetta->label(), "Attendere");
  EXPECT_EQ(etichetta->x(), 64);
  EXPECT_EQ(etichetta->y(), 64);
  EXPECT_EQ(etichetta->w(), 177);
  EXPECT_EQ(etichetta->h(), 53);
  EXPECT_EQ(etichetta->labelfont(), FL_HELVETICA_BOLD);
  EXPECT_EQ(etichetta->labelsize(), 32);
  delete w;
}

TEST(Finestra, MessaggioConIlTestoEUnSoloPulsanteOk) {
  Fl_Window* w = crea_messaggio("1251");
  int pulsanti = 0;
  std::string testi;
  for (int i = 0; i < w->children(); ++i) {
    if (auto* b = dynamic_cast<Fl_Button*>(w->child(i))) {
      ++pulsanti;
      EXPECT_STREQ(b->label(), "OK");
    } else if (w->child(i)->label()) {
      testi += w->child(i)->label();
    }
  }
  EXPECT_EQ(pulsanti, 1);
  EXPECT_EQ(testi, " Errore n. 1251");
  EXPECT_TRUE(w->modal());
  delete w;
}

TEST(Finestra, SenzaDisplayIlProgrammaScriveAttendereEFinisce) {
  cartella_prova dir;
  const auto programma = copia_programma(dir);
  const auto uscita = dir.percorso / "uscita.txt";
  EXPECT_EQ(esegui("env -u DISPLAY " + programma.string() + " > " + uscita.string()), 0);
  EXPECT_EQ(leggi(uscita).substr(0, 10), "Attendere\n");
}

TEST(Finestra, FileImpossibileDaScrivereFermaIlProgrammaConStato2) {
  cartella_prova dir;
  const auto programma = copia_programma(dir);
  // A directory where the train source should go: the second stage cannot write it.
  std::filesystem::create_directory(dir.percorso / "Corvana_Telmisa_739-.txt");
  const auto err = dir.percorso / "err.txt";
  EXPECT_EQ(esegui("env -u DISPLAY " + programma.string() + " > /dev/null 2> " + err.string()), 2);
  const std::string messaggio = leggi(err);
  EXPECT_NE(messaggio.find((dir.percorso / "Corvana_Telmisa_739-.txt").string()), std::string::npos) << messaggio;
  EXPECT_NE(messaggio.find("Is a directory"), std::string::npos) << messaggio;
  // The file finished before the failure stays; no later stage ran.
  EXPECT_TRUE(std::filesystem::exists(dir.percorso / "Corvana_Telmisa_linea.txt"));
  EXPECT_FALSE(std::filesystem::exists(dir.percorso / "Corvana_Telmisa_739.dat"));
}

TEST(Finestra, SenzaDisplayErroreSulTerminaleEStato1) {
  cartella_prova dir;
  const auto err = dir.percorso / "err.txt", out = dir.percorso / "out.txt";
  EXPECT_EQ(esegui("env -u DISPLAY " + std::string(PROVA_ERRORE) + " > " + out.string() + " 2> " + err.string()), 1);
  EXPECT_EQ(leggi(err), " Errore n. 1251\n");
  EXPECT_EQ(leggi(out), "") << "nothing after the call runs";
}

TEST(Finestra, IlProgrammaMappaLaFinestraEFinisceDaSolo) {
  if (!con_display()) GTEST_SKIP() << "no display: Xvfb is not installed";
  Display* d = XOpenDisplay(nullptr);
  ASSERT_NE(d, nullptr);
  XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
  XSync(d, False);

  cartella_prova dir;
  const auto programma = copia_programma(dir);
  EXPECT_EQ(esegui(programma.string() + " > /dev/null"), 0);

  // The window was created at the form's size and mapped before the program ended.
  Window creata = 0;
  bool mappata = false;
  XSync(d, False);
  while (XPending(d) > 0) {
    XEvent e;
    XNextEvent(d, &e);
    if (e.type == CreateNotify && e.xcreatewindow.width == 280 && e.xcreatewindow.height == 179)
      creata = e.xcreatewindow.window;
    if (e.type == MapNotify && creata != 0 && e.xmap.window == creata) mappata = true;
  }
  XCloseDisplay(d);
  EXPECT_NE(creata, 0u) << "no 280 x 179 window was created";
  EXPECT_TRUE(mappata) << "the window was never mapped";
}

TEST(Finestra, IlMessaggioAspettaOkEPoiIlProgrammaFinisceConStato1) {
  if (!con_display()) GTEST_SKIP() << "no display: Xvfb is not installed";
  if (esegui("command -v xdotool > /dev/null") != 0) GTEST_SKIP() << "xdotool is not installed";
  cartella_prova dir;
  const auto out = dir.percorso / "out.txt";

  const pid_t figlio = ::fork();
  ASSERT_GE(figlio, 0);
  if (figlio == 0) {
    if (!std::freopen(out.c_str(), "w", stdout)) ::_exit(99);
    ::execl(PROVA_ERRORE, PROVA_ERRORE, static_cast<char*>(nullptr));
    ::_exit(98);
  }

  const std::string id =
      uscita_di("timeout 20 xdotool search --sync --onlyvisible --name '^prova_errore$' | head -n 1");
  ASSERT_FALSE(id.empty()) << "the message box never appeared";
  // The box waits for its OK: the program is still running.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  int stato = 0;
  EXPECT_EQ(::waitpid(figlio, &stato, WNOHANG), 0) << "the program did not wait for OK";

  // Press OK (centre of the button at 110, 72, 80 x 26).
  esegui("xdotool mousemove --window " + id.substr(0, id.find('\n')) + " 150 85 click 1");
  bool finito = false;
  for (int i = 0; i < 200 && !finito; ++i) {
    finito = ::waitpid(figlio, &stato, WNOHANG) == figlio;
    if (!finito) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  if (!finito) {
    ::kill(figlio, SIGKILL);
    ::waitpid(figlio, &stato, 0);
    FAIL() << "the program did not end after OK";
  }
  ASSERT_TRUE(WIFEXITED(stato));
  EXPECT_EQ(WEXITSTATUS(stato), 1);
  EXPECT_EQ(leggi(out), "") << "nothing after the call runs";
}
