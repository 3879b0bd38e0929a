#pragma once

#include <optional>
#include <string>

#include "app/AppSettings.h"
#include "app/ServiceEndpoints.h"
#include "charts/ColourSchemes.h"
#include "common/Folders.h"

namespace kestrel {

class Prompter;

// Everything the application object reads at construction.
struct AppConfig {
  Folders folders;
  ServiceBases bases;
  AppSettings settings;
  ContractFigures contract;
  ColourSettings colours;
  std::string installedVersion;
};

// The configuration of a first start without setup.ini: every default.
AppConfig DefaultAppConfig(const Folders& folders = {});

inline constexpr const char* kSetupIniError = "SETUP.INI 檔案讀取錯誤，請重新安裝程式";
inline constexpr const char* kVersionIniError = "VERSION.INI 檔案讀取錯誤，請重新安裝程式";

// Reads the base addresses: the local service unless [SERVICE] PRIMARY,
// SECONDARY or MIRROR say otherwise. False when PRIMARY or SECONDARY is present
// but empty; an empty MIRROR takes the alternative host.
bool ReadServiceBases(const ProfileFile& setup, ServiceBases* bases);

// The application object's construction: base addresses, settings in table
// order, colours, the installed version. On a fatal error shows its message and
// returns nothing; the process then ends with exit code 0 before any window.
std::optional<AppConfig> ConstructApp(const Folders& folders, Prompter& prompter);

}  // namespace kestrel
