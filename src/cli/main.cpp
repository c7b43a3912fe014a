#include <iostream>

#include "cli/cli.h"

#ifdef QUOR_CLI_IMAGES
#include <QGuiApplication>
#include <memory>

#include "platform/png_render.h"
#endif

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::vector<std::string> args(argv + 1, argv + argc);
  CliHooks hooks;
#ifdef QUOR_CLI_IMAGES
  // Images need the toolkit's fonts and painting, not a display: the offscreen
  // platform, and only when an image is asked for.
  static int qtArgc = 3;
  static char name[] = "quor-cli", platformOption[] = "-platform", platform[] = "offscreen";
  static char* qtArgv[] = {name, platformOption, platform, nullptr};
  std::unique_ptr<QGuiApplication> app;
  for (const std::string& a : args)
    if (a == "--plot" || a.rfind("--plot=", 0) == 0) {
      // The toolkit's notes on its environment (no runtime directory, ...) are no
      // output of the command; its errors still reach stderr.
      qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& m) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << m.toStdString() << '\n';
      });
      app = std::make_unique<QGuiApplication>(qtArgc, qtArgv);
      break;
    }
  hooks.renderPng = &RenderPng;
#endif
  return RunCli(args, std::cout, std::cerr, hooks);
}
