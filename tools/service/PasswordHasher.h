#pragma once

#include <array>
#include <cstddef>
#include <mutex>
#include <semaphore>
#include <string>
#include <string_view>
#include <unordered_map>

namespace kestrel::service {

// Salted slow password hashes (libsodium's Argon2id string format) with a cache of
// passwords already proven, because every page request carries the password and
// the client polls every few seconds. The cache holds keyed digests under a key
// that lives only in this process, never the password. Thread-safe.
class PasswordHasher {
 public:
  enum class Cost {
    kInteractive,  // libsodium's interactive limits: for real accounts
    kCheap,        // the library minimum: for tests and load runs only
  };

  explicit PasswordHasher(Cost cost = Cost::kInteractive);

  // The stored form of a password; empty when hashing failed (out of memory).
  std::string Hash(std::string_view password) const;
  bool Verify(std::string_view stored, std::string_view password);
  // Costs as much as a failed verification, so unknown ids answer as slowly as
  // wrong passwords.
  void VerifyNothing(std::string_view password);

 private:
  using Digest = std::array<unsigned char, 32>;
  Digest DigestOf(std::string_view stored, std::string_view password) const;

  Cost cost_;
  std::array<unsigned char, 32> key_{};
  std::mutex mutex_;
  std::unordered_map<std::string, Digest> proven_;  // stored hash → digest
  // Slow checks take tens of megabytes each: run only a few at once.
  std::counting_semaphore<2> slowChecks_{2};
  std::string dummy_;
};

}  // namespace kestrel::service
