#include "online/CWebGrab.h"

#include <curl/curl.h>

#include <chrono>
#include <cstdio>
#include <mutex>

#include "common/Decimal.h"
#include "common/FileUtil.h"
#include "online/ServiceUrl.h"

namespace kestrel {

namespace {

void GlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

using Clock = std::chrono::steady_clock;

}  // namespace

// The state of one fetch, reached from the library's callbacks.
struct CWebGrab::Transfer {
  CWebGrab* self;
  std::string* buffer;
  const FetchOptions* options;
  size_t received = 0;
  bool tooLarge = false;
  Clock::time_point start = Clock::now();

  void ShowProgress() {
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    char text[96];
    if (seconds > 0) {
      self->transferRate_ = static_cast<double>(received) / 1024.0 / seconds;
      std::snprintf(text, sizeof text, "Read %zu bytes (%0.1f Kb/s)", received,
                    self->transferRate_);
    } else {
      self->transferRate_ = static_cast<double>(received);
      std::snprintf(text, sizeof text, "Read %zu bytes", received);
    }
    self->statusText_ = text;
    if (options->progress != nullptr) options->progress->SetPosition(received);
  }
};

CWebGrab::CWebGrab(std::string userAgent) : userAgent_(std::move(userAgent)) {}

CWebGrab::~CWebGrab() {
  if (session_ != nullptr) curl_easy_cleanup(static_cast<CURL*>(session_));
}

size_t CWebGrab::OnBody(char* data, size_t size, size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const size_t n = size * count;
  if (t->self->aborted_.load()) return 0;
  if (t->received + n > t->options->maxBytes) {
    t->tooLarge = true;
    return 0;  // ends the transfer with a write error
  }
  t->buffer->append(data, n);
  t->received += n;
  t->ShowProgress();
  return n;
}

size_t CWebGrab::OnHeader(char* data, size_t size, size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const size_t n = size * count;
  std::string_view line(data, n);
  // A redirect starts a new response: keep only the headers of the last one.
  if (line.substr(0, 5) == "HTTP/") t->self->rawHeaders_.clear();
  t->self->rawHeaders_.append(line);
  constexpr std::string_view kLength = "content-length:";
  if (line.size() > kLength.size() && EqualsIgnoreCase(line.substr(0, kLength.size()), kLength)) {
    const int64_t length = ParseDecimal64(line.substr(kLength.size()));
    if (t->options->progress != nullptr)
      t->options->progress->SetRange(length > 0 ? static_cast<uint64_t>(length) : 0);
  }
  return n;
}

int CWebGrab::OnProgress(void* user, int64_t, int64_t, int64_t, int64_t) {
  auto* t = static_cast<Transfer*>(user);
  return t->self->aborted_.load() ? 1 : 0;
}

bool CWebGrab::Fetch(const std::string& url, std::string& buffer, const FetchOptions& options) {
  rawHeaders_.clear();
  statusCode_ = 0;
  errorMessage_.clear();
  buffer.clear();
  if (aborted_.load()) {
    errorMessage_ = "aborted";
    return false;
  }

  GlobalInit();
  if (session_ == nullptr) session_ = curl_easy_init();
  CURL* curl = static_cast<CURL*>(session_);
  if (curl == nullptr) {
    errorMessage_ = "cannot create a connection handle";
    return false;
  }
  curl_easy_reset(curl);

  Transfer transfer{this, &buffer, &options};
  if (options.progress != nullptr) options.progress->SetRange(0);
  char errorBuffer[CURL_ERROR_SIZE] = {};
  curl_slist* headers = nullptr;
  if (options.forceReload) {
    headers = curl_slist_append(headers, "Cache-Control: no-cache");
    headers = curl_slist_append(headers, "Pragma: no-cache");
  }

  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_USERAGENT, userAgent_.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kLowSpeedSeconds);
  if (timeoutMs_ != 0) curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(timeoutMs_));
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(options.maxBytes));
  if (headers != nullptr) curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &CWebGrab::OnBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &CWebGrab::OnHeader);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &transfer);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &CWebGrab::OnProgress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);

  const CURLcode code = curl_easy_perform(curl);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
  if (headers != nullptr) curl_slist_free_all(headers);

  if (code != CURLE_OK) {
    if (transfer.tooLarge || code == CURLE_FILESIZE_EXCEEDED) {
      errorMessage_ = "reply larger than " + std::to_string(options.maxBytes) + " bytes";
    } else {
      errorMessage_ = errorBuffer[0] != '\0' ? errorBuffer : curl_easy_strerror(code);
    }
    // Error texts may quote the request; the password never leaves this object.
    errorMessage_ = RedactPassword(errorMessage_).substr(0, kMaxErrorChars);
    statusText_ = errorMessage_;
    return false;
  }
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  statusCode_ = static_cast<unsigned>(status);
  buffer.push_back('\0');
  statusText_.clear();
  return true;
}

}  // namespace kestrel
