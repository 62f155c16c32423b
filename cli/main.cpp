// korvel: the command-line companion of Pelmora.
#include <iostream>
#include <string>
#include <vector>

#include "command_line.h"
#ifdef KORVEL_WITH_RENDER
#include "command_render.h"
#endif

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::vector<std::string> arguments(argv + 1, argv + argc);
#ifdef KORVEL_WITH_RENDER
  RegisterRenderCommand();
#endif
  int code = RunKorvel(arguments, std::cout, std::cerr);
  std::cout.flush();
  return code;
}
