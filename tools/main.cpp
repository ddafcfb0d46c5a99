#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "tools/scenario.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> argomenti(argv + (argc > 0 ? 1 : 0), argv + argc);
  const int stato = esegui_scenario(argomenti, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1);
  std::cout.flush();
  // Output that could not be written (a full disk, a closed pipe) is a failure too.
  if (!std::cout) {
    std::cerr << "scenario: cannot write to standard output\n";
    return 2;
  }
  return stato;
}
