#include <QApplication>
#include <QScreen>

#include <clocale>
#include <filesystem>

#include "app/AppConfig.h"
#include "app/MainFrame.h"
#include "common/InstanceLock.h"
#include "widgets/MessageBoxPrompter.h"

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

  MessageBoxPrompter prompter;
  std::optional<AppConfig> config = ConstructApp(folders, prompter);
  if (!config) return 0;
  if (instance.AlreadyRunning()) return 0;
  folders.CreateAll();

  CMainFrame frame(*config);
  frame.setWindowTitle("Kestrel");
  // Without a window manager "maximised" means nothing: fill the screen ourselves.
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    frame.setGeometry(screen->availableGeometry());
  frame.showMaximized();
  return app.exec();
}
