#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "TestDir.h"

namespace kestrel::test {

// A shell word that stands for `text` exactly.
inline std::string Quoted(const std::string& text) {
  std::string q = "'";
  for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Runs a program with its output in files and its own temporary folder.
struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};

inline ProgramRun RunProgram(const std::filesystem::path& dir, const std::string& program,
                             const std::vector<std::string>& args) {
  std::filesystem::create_directories(dir / "tmp");
  std::string command = "TMPDIR=" + Quoted((dir / "tmp").string()) + " " + Quoted(program);
  for (const std::string& a : args) command += " " + Quoted(a);
  command += " >" + Quoted((dir / "stdout.txt").string());
  command += " 2>" + Quoted((dir / "stderr.txt").string());
  const int status = std::system(command.c_str());
  ProgramRun run;
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadFile(dir / "stdout.txt");
  run.err = ReadFile(dir / "stderr.txt");
  return run;
}

// kestrel-sim run in `dir`; its private temporary folder must be gone after.
inline ProgramRun RunSim(const std::filesystem::path& dir, const std::vector<std::string>& args) {
  ProgramRun run = RunProgram(dir, KESTREL_SIM, args);
  EXPECT_TRUE(std::filesystem::is_empty(dir / "tmp")) << "the run left files behind";
  return run;
}

// Writes plain member files into DIR/name and packs them with the real
// kestrel-daygen into `archive`.
inline void PackDay(const std::filesystem::path& dir,
                    const std::map<std::string, std::string>& members,
                    const std::filesystem::path& archive) {
  const std::filesystem::path plain = dir / "plain";
  std::filesystem::remove_all(plain);
  std::filesystem::create_directories(plain);
  for (const auto& [name, bytes] : members) WriteFile(plain / name, bytes);
  const ProgramRun packed =
      RunProgram(dir, KESTREL_DAYGEN, {"pack", plain.string(), archive.string()});
  ASSERT_EQ(packed.status, 0) << packed.err;
}

// The lines of a text; CR LF and LF both end a line, a CR alone does not.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace kestrel::test
