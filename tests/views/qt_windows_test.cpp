// The Qt splash driven by the start sequence on the offscreen platform (the
// wizard's window is checked by the conformance suite, tests/conformance).
#include <gtest/gtest.h>

#include <QLabel>

#include "platform/posix/reg_file_registry.h"
#include "qt_test_support.h"
#include "startup/install_registry.h"
#include "startup/start_sequence.h"
#include "support/desktop_doubles.h"
#include "support/fakes.h"
#include "support/journal.h"
#include "support/temp_dir.h"
#include "views/qt/gauge_widget.h"
#include "views/qt/qt_desktop.h"

namespace kv {
namespace {

using test::Find;
using test::Screenshot;

TEST(QtSplash, ShowsEachStatusOfTheStartSequenceOverItsGauge) {
  test::TempDir dir;
  const std::string base = dir / "base/", prog = dir / "prog/";
  test::WriteFile(dir / "registry.reg", "Windows Registry Editor Version 5.00\n\n"
                                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Velmor\\Квенира\\7.00]\n"
                                        "\"DirProgram\"=\"" + prog + "\"\n\"DirBase\"=\"" + base +
                                        "\"\n\"typeInstall\"=\"d\"\n");
  std::filesystem::create_directories(prog);
  std::filesystem::create_directories(base);
  test::Journal journal;
  test::FixedScreen screen;
  qt::QtSplashOperations splash;
  test::JournalDialog dialog{journal};
  test::FixedClock clock;
  test::RecordingProcesses processes{journal, base + "Версия/700/kvupgrade"};
  RegFileRegistry registry{dir / "registry.reg"};

  std::vector<std::string> seen;  // status line and gauge at each step, read off the splash widget
  auto look = [&](const char* shot) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() != qt::kSplashObjectName || !w->isVisible()) continue;
      EXPECT_EQ(w->size(), QSize(384, 133));
      EXPECT_TRUE(w->windowFlags().testFlag(Qt::FramelessWindowHint));
      EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
      seen.push_back(Find<QLabel>(w, "Label3")->text().toStdString() + " " +
                     std::to_string(Find<qt::GaugeWidget>(w, "Gauge1")->Progress()));
      if (shot) Screenshot(w, shot);
    }
  };
  bool created = false;
  StartServices services{screen, splash, dialog, RealFileSystem(), processes, clock, registry,
                         [&](RegisterLog&) {
                           look("splash");
                           return true;
                         },
                         [&](const InstallFolders& folders, const InstallationParams& params, RegisterLog& log) {
                           look(nullptr);
                           return SetDatabasePaths(folders, params, log);
                         },
                         [&](Installation&, RegisterLog&) -> std::unique_ptr<MainWindow> {
                           look(nullptr);
                           created = true;
                           throw std::runtime_error("the wizard could not be created");
                         }};
  const StartResult r = RunMainSequence(CommandLine{}, services);
  EXPECT_TRUE(created);
  EXPECT_EQ(r.outcome, StartOutcome::ChecksFailed);
  EXPECT_EQ(seen, (std::vector<std::string>{"проверка программ 1", "проверка установок 2", "загрузка ... 3"}));
  // A failure under the splash keeps it 2 s longer, then closes it.
  EXPECT_EQ(clock.pauses.back(), 2000);
  for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_FALSE(w->objectName() == qt::kSplashObjectName && w->isVisible());
}

}  // namespace
}  // namespace kv
