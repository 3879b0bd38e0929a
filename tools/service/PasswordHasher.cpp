#include "service/PasswordHasher.h"

#include <sodium.h>

#include <stdexcept>

namespace kestrel::service {

namespace {

constexpr size_t kMaxProven = 100000;

void InitSodium() {
  static const int status = sodium_init();
  if (status < 0) throw std::runtime_error("libsodium cannot be initialised");
}

}  // namespace

PasswordHasher::PasswordHasher(Cost cost) : cost_(cost) {
  InitSodium();
  randombytes_buf(key_.data(), key_.size());
  dummy_ = Hash("not a password of anyone");
}

std::string PasswordHasher::Hash(std::string_view password) const {
  const unsigned long long ops =
      cost_ == Cost::kCheap ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE;
  const size_t memory =
      cost_ == Cost::kCheap ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE;
  char out[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(out, password.data(), password.size(), ops, memory) != 0) return {};
  return out;
}

PasswordHasher::Digest PasswordHasher::DigestOf(std::string_view stored,
                                                std::string_view password) const {
  Digest digest{};
  crypto_generichash_state state;
  crypto_generichash_init(&state, key_.data(), key_.size(), digest.size());
  // The stored hash is salted, so the digest is bound to this account and hash.
  crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(stored.data()),
                            stored.size());
  const unsigned char zero = 0;
  crypto_generichash_update(&state, &zero, 1);
  crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(password.data()),
                            password.size());
  crypto_generichash_final(&state, digest.data(), digest.size());
  return digest;
}

bool PasswordHasher::Verify(std::string_view stored, std::string_view password) {
  const std::string key(stored);
  const Digest digest = DigestOf(stored, password);
  {
    std::lock_guard lock(mutex_);
    auto it = proven_.find(key);
    if (it != proven_.end() && sodium_memcmp(it->second.data(), digest.data(), digest.size()) == 0)
      return true;
  }
  bool ok = false;
  {
    slowChecks_.acquire();
    ok = crypto_pwhash_str_verify(key.c_str(), password.data(), password.size()) == 0;
    slowChecks_.release();
  }
  if (ok) {
    std::lock_guard lock(mutex_);
    if (proven_.size() >= kMaxProven) proven_.clear();
    proven_[key] = digest;
  }
  return ok;
}

void PasswordHasher::VerifyNothing(std::string_view password) {
  slowChecks_.acquire();
  const int ignored = crypto_pwhash_str_verify(dummy_.c_str(), password.data(), password.size());
  static_cast<void>(ignored);
  slowChecks_.release();
}

}  // namespace kestrel::service
