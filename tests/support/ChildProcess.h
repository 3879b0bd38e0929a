#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace kestrel::test {

// Starts the program with the arguments, standard input from /dev/null and
// standard output and error on a pipe whose read end is returned in readEnd.
// Returns the child's pid, or -1 when it could not start.
pid_t SpawnWithPipe(const std::string& binary, const std::vector<std::string>& args, int* readEnd);

// Runs a program to its end; its exit code (-1 when it could not run or did
// not exit normally), its output collected when asked for.
int RunProgram(const std::string& binary, const std::vector<std::string>& args,
               std::string* output = nullptr);

// Reads a starting kestrel-service's output until it names its loopback port
// ("http://127.0.0.1:PORT"), the pipe closes or the time is up. The port, or
// 0; everything read is appended to text.
int AwaitServicePort(int readEnd, std::chrono::seconds limit, std::string* text);

}  // namespace kestrel::test
