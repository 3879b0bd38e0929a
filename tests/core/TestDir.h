#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/FileUtil.h"

namespace kestrel::test {

// A fresh, empty folder per test, under the build tree.
inline std::filesystem::path FreshDir() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  for (char& c : name)
    if (c == '/') c = '_';
  const std::filesystem::path dir = std::filesystem::path(KESTREL_TEST_TMP) / name;
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  ASSERT_EQ(WriteFileAtomically(path, bytes), "");
}

inline std::string ReadFile(const std::filesystem::path& path) {
  return ReadWholeFile(path).value_or("<missing>");
}

}  // namespace kestrel::test
