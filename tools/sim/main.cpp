// kestrel-sim: replays a day archive headless with a script of orders and prints
// the detailed deal export and the margin-account text.
#include <iostream>
#include <string>
#include <vector>

#include "SimOptions.h"
#include "Simulator.h"

int main(int argc, char** argv) {
  using namespace kestrel::sim;
  const std::vector<std::string> args(argv + 1, argv + argc);
  SimOptions options;
  if (const std::string error = ParseSimOptions(args, &options); !error.empty()) {
    std::cerr << "kestrel-sim: " << error << "\n" << SimUsage();
    return kExitUsage;
  }
  if (options.help) {
    std::cout << SimUsage();
    return kExitOk;
  }
  return RunSimulator(options, std::cout, std::cerr);
}
