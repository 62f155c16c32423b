// korvel: the command-line companion of Pelmora.
#include <cstddef>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/command_line.h"
#include "cli/memory_reserve.h"
#include "cli/output_channel.h"
#ifdef KORVEL_WITH_RENDER
#include "cli_qt/command_render.h"
#endif

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  // Room for unwinding when memory runs out, so korvel can say so.
  HoldMemoryReserve(std::size_t{4} << 20);
  std::vector<std::string> arguments(argv + 1, argv + argc);
#ifdef KORVEL_WITH_RENDER
  RegisterRenderCommand();
#endif
  // Standard output through a buffer that keeps the reason of a failed write.
  TFileDescriptorBuffer buffer(STDOUT_FILENO);
  std::ostream out(&buffer);
  const int code = RunKorvel(arguments, std::cin, out, std::cerr);
  return FinishOutput(out, buffer, std::cerr, code);
}
