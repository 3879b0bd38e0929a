#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include <httplib.h>

#include "service/PracticeService.h"
#include "service/ServiceServer.h"

namespace kestrel::service::test {

// A fresh, empty folder per test, under the build tree.
std::filesystem::path FreshDir();
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& path);

// Writes the small data folder the service tests share: a catalogue of five days
// (four with a day archive), two K-line archives (one of a day before the
// catalogue), a book archive, a training day with its notes, a trend file, the
// update archive and the service configuration.
void WriteSampleDataFolder(const std::filesystem::path& folder);

// The contents of the sample files, for comparing replies.
std::string SampleArchiveBytes(const std::string& name);
std::string SampleNotes();

// The day the tests take for today: after every sample day.
inline Date TestToday() {
  return Date{2014, 1, 1};
}

ServiceOptions CheapOptions();

struct Answer {
  int status = 0;
  std::string body;
  std::string contentType;
  std::string contentLength;
};

// A GET with the target sent exactly as written (no escaping), like the trainer.
Answer Fetch(int port, const std::string& target);

// The service on 127.0.0.1 with an ephemeral port over the sample data folder,
// with the practice accounts, cheap password hashes and a fixed today.
class ServiceFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  Answer Get(const std::string& target) { return Fetch(server_->port(), target); }
  std::string Body(const std::string& target) { return Get(target).body; }
  // Logs the account in with the session code, as the trainer does.
  void LogIn(const std::string& id, const std::string& password, const std::string& code = "");

  std::filesystem::path folder_;
  std::unique_ptr<PracticeService> service_;
  std::unique_ptr<ServiceServer> server_;
};

}  // namespace kestrel::service::test
