// kestrel-service: the practice web service the trainer logs in to and
// downloads its days from. See README.md beside this file.
#include <iostream>
#include <string>
#include <vector>

#include "service/ServiceCommands.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return kestrel::service::RunServiceCommand(args, std::cin, std::cout, std::cerr);
}
