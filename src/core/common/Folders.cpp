#include "common/Folders.h"

#include "common/FileUtil.h"

namespace kestrel {

Folders Folders::FromWork(const std::filesystem::path& work) {
  Folders f;
  f.work = work;
  f.cache = FindCaseInsensitive(work, "cache");
  f.data = FindCaseInsensitive(work, "data");
  f.diary = FindCaseInsensitive(work, "Diary");
  return f;
}

std::filesystem::path Folders::SetupIni() const { return FindCaseInsensitive(work, "setup.ini"); }

std::filesystem::path Folders::VersionIni() const {
  return FindCaseInsensitive(work, "Version.ini");
}

bool Folders::CreateAll() const {
  std::error_code ec;
  bool ok = true;
  for (const auto* dir : {&cache, &data, &diary}) {
    std::filesystem::create_directories(*dir, ec);
    if (ec) ok = false;
  }
  return ok;
}

}  // namespace kestrel
