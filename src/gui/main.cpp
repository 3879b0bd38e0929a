#include <QApplication>
#include <QLocale>
#include <QScreen>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "app/AppConfig.h"
#include "app/TrainerFrame.h"
#include "common/InstanceLock.h"
#include "widgets/MessageBoxPrompter.h"

namespace {

std::filesystem::path ArchiveOption(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string_view(argv[i]) == "--archive") return argv[i + 1];
  if (const char* env = std::getenv("KESTREL_ARCHIVE")) return env;
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  using namespace kestrel;

  // The working folder is the current directory at start; it is never changed.
  const Folders folders = Folders::FromWork(fs::current_path());
  // Taken before anything else, checked only once the settings are read.
  InstanceLock instance(folders.work / kInstanceLockName);

  QApplication app(argc, argv);
  // Qt adopts the environment's locale; every "%.1f" and number parse needs a point.
  std::setlocale(LC_NUMERIC, "C");
  // Calendars and other Qt texts in the program's language, whatever the environment.
  QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::TraditionalHanScript, QLocale::Taiwan));

  MessageBoxPrompter prompter;
  std::optional<AppConfig> config = ConstructApp(folders, prompter);
  if (!config) return 0;
  if (instance.AlreadyRunning()) return 0;
  folders.CreateAll();

  CTrainerFrame frame(std::move(*config));
  frame.setWindowTitle("Kestrel");
  // Without a window manager "maximised" means nothing: fill the screen ourselves.
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    frame.setGeometry(screen->availableGeometry());
  frame.showMaximized();
  // A day to show without the service: --archive PATH (or KESTREL_ARCHIVE)
  // loads a copy of a day archive at start, as a download would.
  if (const fs::path archive = ArchiveOption(argc, argv); !archive.empty()) {
    std::error_code ec;
    const fs::path copy = folders.cache / archive.filename();
    fs::copy_file(archive, copy, fs::copy_options::overwrite_existing, ec);
    if (ec)
      prompter.Message("無法讀取 " + archive.string(), kCaptionError);
    else
      frame.LoadArchive(copy);
  }
  return app.exec();
}
