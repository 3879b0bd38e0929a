#pragma once

#include <string>

namespace kestrel {

// Path names appended to a base address ("/" + path).
struct ServiceEndpoints {
  static constexpr const char* kLogin = "net_Login_Future.php";
  static constexpr const char* kLogout = "net_Logout_Future.php";
  static constexpr const char* kFileName = "net_GetFileName_Future.php";
  static constexpr const char* kFileDate = "net_GetFileDate_Future.php";
  static constexpr const char* kUserData = "net_GetUserData_Future.php";
  static constexpr const char* kSoftVer = "net_GetSoftVer_Future.php";
  static constexpr const char* kWriteValidCode = "net_WriteValidCode_Future.php";
  static constexpr const char* kSoftwareDoc = "software-doc.php";
  static constexpr const char* kSoftwareHistory = "software-history.php";
};

// The local practice service; the [SERVICE] section of setup.ini overrides it.
inline constexpr const char* kDefaultBaseUrl = "http://127.0.0.1:18631";
// Used when the mirror address is empty.
inline constexpr const char* kAlternativeMirrorUrl = "http://localhost:18631";

// Scheme and host of the service, without a trailing slash.
struct ServiceBases {
  std::string primary = kDefaultBaseUrl;
  std::string secondary = kDefaultBaseUrl;
  std::string mirror = kDefaultBaseUrl;
};

}  // namespace kestrel
