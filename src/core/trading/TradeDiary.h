#pragma once

#include <filesystem>
#include <string>

#include "trading/UserMessage.h"

namespace kestrel {

// Caption of the diary's notices: the application's name.
inline constexpr const char* kDiaryCaption = "Kestrel";

// What the edit shows for a day without a diary yet.
inline constexpr const char* kDiaryPlaceholder = "在此加入日誌並儲存";

// The day's diary file: the Diary folder, the day's date text, ".DAT".
std::filesystem::path DiaryPath(const std::filesystem::path& diaryFolder,
                                const std::string& dateText);

// The diary window's text on opening (the folder is created when missing): the
// file's lines, decoded from CP950, each followed by LF (a CR before the LF of a
// CR CR LF stays, so an edit's CR LF breaks come back as they were saved); the
// placeholder when the day has no file. Not thread-safe.
std::string LoadDiary(const std::filesystem::path& diaryFolder, const std::string& dateText);

// "儲存日誌": replaces the day's file with the edit's text in CP950, every LF
// written as CR LF. Returns the notice to show ("成功儲存" or the failure).
UserMessage SaveDiary(const std::filesystem::path& diaryFolder, const std::string& dateText,
                      const std::string& text);

}  // namespace kestrel
