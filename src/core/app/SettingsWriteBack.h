#pragma once

#include <filesystem>
#include <string>

#include "app/AppSettings.h"

namespace kestrel {

class ProfileFile;
struct ColourSettings;

// What the write-back needs besides the settings themselves.
struct WriteBackInputs {
  std::string userId;        // [ACCOUNT] ID is written only when not empty
  bool rememberAccount = false;
  int32_t isLarge = 0;       // written as [ACCOUNT] TRADE
  // Current heights of the four optional panes; each is written only while its
  // VIEW_ flag is 1 (a hidden pane's key keeps its value in the file).
  int32_t stockListHeight = 0;
  int32_t draw1Height = 0;
  int32_t biasHeight = 0;
  int32_t orderHeight = 0;
};

// Writes every setting in the close flow's order into `file` ("%d" numbers,
// texts as stored), then the colour sections. Does not save the file.
void WriteBackSettings(const AppSettings& settings, const WriteBackInputs& inputs,
                       const ColourSettings& colours, ProfileFile& file);

// Clears the read-only attribute of setup.ini, writes everything back and saves
// it atomically. Returns an error text, empty on success.
std::string SaveSettingsFile(const std::filesystem::path& setupIni, const AppSettings& settings,
                             const WriteBackInputs& inputs, const ColourSettings& colours);

}  // namespace kestrel
