#include "app/AppConfig.h"

#include "common/ProfileFile.h"
#include "common/Prompter.h"

namespace kestrel {

bool ReadServiceBases(const ProfileFile& setup, ServiceBases* bases) {
  struct Entry {
    const char* key;
    std::string* value;
  };
  const Entry entries[] = {
      {"PRIMARY", &bases->primary}, {"SECONDARY", &bases->secondary}, {"MIRROR", &bases->mirror}};
  for (const Entry& e : entries) {
    if (!setup.Has("SERVICE", e.key)) continue;
    std::string url = setup.Get("SERVICE", e.key);
    while (!url.empty() && url.back() == '/') url.pop_back();
    *e.value = url;
  }
  if (bases->mirror.empty()) bases->mirror = kAlternativeMirrorUrl;
  return !bases->primary.empty() && !bases->secondary.empty();
}

AppConfig DefaultAppConfig(const Folders& folders) {
  AppConfig config;
  config.folders = folders;
  const ProfileFile none;
  config.settings = ReadAppSettings(none);
  config.contract = DeriveContract(config.settings);
  config.colours = LoadColourSettings(none);
  return config;
}

std::optional<AppConfig> ConstructApp(const Folders& folders, Prompter& prompter) {
  AppConfig config;
  config.folders = folders;
  const ProfileFile setup = ProfileFile::Load(folders.SetupIni());
  if (!ReadServiceBases(setup, &config.bases)) {
    prompter.Message(kSetupIniError, kCaptionError);
    return std::nullopt;
  }
  config.settings = ReadAppSettings(setup);
  config.contract = DeriveContract(config.settings);
  config.colours = LoadColourSettings(setup);
  config.installedVersion = ReadProfileString(folders.VersionIni(), "VER", "VERSION");
  if (config.installedVersion.empty()) {
    prompter.Message(kVersionIniError, kCaptionError);
    return std::nullopt;
  }
  return config;
}

}  // namespace kestrel
