// The Qt windows driven by real clicks on the offscreen platform: page flow,
// the agreement gate, the News button and window, message boxes and the splash.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimer>
#include <memory>

#include "platform/own_executable.h"
#include "platform/posix/reg_file_registry.h"
#include "qt_test_support.h"
#include "startup/install_registry.h"
#include "startup/start_sequence.h"
#include "support/desktop_doubles.h"
#include "support/fakes.h"
#include "support/journal.h"
#include "support/temp_dir.h"
#include "views/qt/form_widgets.h"
#include "views/qt/gauge_widget.h"
#include "views/qt/qt_desktop.h"
#include "views/qt/qt_news_window.h"
#include "views/qt/qt_wizard_window.h"

namespace kv {
namespace {

using test::Click;
using test::Find;
using test::MemoText;
using test::Screenshot;

/* The Qt wizard window over the wizard's logic, with the built program as its
** own executable (it carries 7.0.12.0) and an installation in a temporary folder. */
struct QtWizardFixture {
  test::TempDir dir;
  test::FixedClock clock;
  test::RecordingDialog logDialog;
  Installation installation;
  std::unique_ptr<RegisterLog> log;
  RegFileRegistry registry{dir / "registry.reg"};
  std::unique_ptr<OwnExecutable> executable = OpenBundledExecutable(KV_UPGRADE_EXE);
  std::vector<NewsEntry> news{NewsTable().begin(), NewsTable().end()};
  int runs = 0;
  qt::QtWizardWindow window;
  std::unique_ptr<WizardForm> form;

  QtWizardFixture() {
    installation.folders = DeriveFolders(dir / "prog", dir / "base", 2026);
    installation.databases.base = installation.folders.data + "Base/Base.fdb";
    installation.databases.director = installation.folders.data + "Director/Director.fdb";
    log = std::make_unique<RegisterLog>(RegisterLog::Setup{kApplicationTitle, KV_UPGRADE_EXE,
                                                            installation.folders.info,
                                                            installation.folders.registerLog},
                                        RealFileSystem(), clock, logDialog);
  }

  void Open() {
    form = std::make_unique<WizardForm>(WizardServices{
        window, *log, registry, *executable, KV_UPGRADE_EXE, installation,
        [](const std::string& path) -> std::optional<VersionRecord> {
          if (path.ends_with("Base.fdb")) return VersionRecord{700, 9, 4};
          if (path.ends_with("Director.fdb")) return VersionRecord{700, 11, 0};
          return std::nullopt;
        },
        [this](const FileVersion&) {
          ++runs;
          window.ZapisLabel(" Установка Service Pack 01");
          window.SetGaugeMax(549);
          window.SetGaugeProgress(300);
        },
        news});
    window.Attach(*form);
    form->FormCreate();
    window.ShowCentred();
    QTest::qWait(50);
    form->FormActivate();  // the offscreen platform may not report the activation
  }

  QWidget* W() { return &window; }
  int Page() { return Find<QStackedWidget>(W(), "PageControl1")->currentIndex() + 1; }
};

TEST(QtWizard, PagesFollowTheClicksAndTheAgreementGatesNext) {
  QtWizardFixture f;
  f.Open();
  auto* next = Find<QPushButton>(f.W(), "Button1");
  auto* box = Find<QCheckBox>(f.W(), "CheckBox1");
  EXPECT_EQ(f.window.windowTitle().toStdString(), "Квенира. Обновление версии 7.12");
  EXPECT_EQ(f.window.size(), QSize(558, 466));
  const std::string memo1 = MemoText(f.W(), "Memo1");
  EXPECT_NE(memo1.find("Текущая сборка: \t7.0.0\nНовая сборка: \t7.12.0\n"), std::string::npos) << memo1;
  EXPECT_NE(memo1.find("Base.fdb:       сборка (7.09.004)\nDirector.fdb:   сборка (7.11.000)"), std::string::npos);
  EXPECT_TRUE(next->isVisible());
  Screenshot(f.W(), "wizard-1-start");

  Click(next);
  EXPECT_EQ(f.Page(), 2);
  EXPECT_FALSE(next->isEnabled());
  EXPECT_EQ(Find<QLabel>(f.W(), "Panel1")->text().toStdString(), "   Лицензионное соглашение");
  EXPECT_NE(MemoText(f.W(), "Memo2").find("ЛИЦЕНЗИОННОЕ СОГЛАШЕНИЕ"), std::string::npos);
  for (bool ticked : {true, false, true, false, true}) {
    Click(box);
    EXPECT_EQ(box->isChecked(), ticked);
    EXPECT_EQ(next->isEnabled(), ticked);
  }
  Screenshot(f.W(), "wizard-2-agreement");

  Click(next);
  EXPECT_EQ(f.Page(), 3);
  EXPECT_EQ(next->text().toStdString(), "Установить");
  EXPECT_EQ(MemoText(f.W(), "Memo3").rfind("Всё готово для установки обновлений\n", 0), 0u);
  Screenshot(f.W(), "wizard-3-install");

  Click(next);
  EXPECT_EQ(f.runs, 1);
  EXPECT_EQ(Find<QLabel>(f.W(), "Label2")->text().toStdString(), " Установка Service Pack 01");
  EXPECT_EQ(Find<qt::GaugeWidget>(f.W(), "Gauge1")->Progress(), 300);

  Click(Find<QPushButton>(f.W(), "Button2"));
  EXPECT_FALSE(f.window.isVisible());
  EXPECT_NE(test::ReadFile(f.installation.folders.registerLog).find(" 009: "), std::string::npos);
}

TEST(QtWizard, NewsButtonBlinksForANewsBuildAndOpensTheNewsWindow) {
  QtWizardFixture f;
  f.news.push_back({12, 0, "01.12.2026", "Новые отчёты"});
  f.Open();
  auto* news = Find<QPushButton>(f.W(), "Button3");
  EXPECT_EQ(news->text().toStdString(), "Новости !!!");
  EXPECT_EQ(news->width(), 150);
  bool seenBold = false, seenPlain = false;
  for (int i = 0; i < 30 && !(seenBold && seenPlain); ++i) {
    QTest::qWait(100);
    (news->font().bold() ? seenBold : seenPlain) = true;
  }
  EXPECT_TRUE(seenBold && seenPlain) << "the News button does not blink";

  std::vector<std::string> tabs, memos;
  test::WhenModal<qt::QtNewsWindow>([&](qt::QtNewsWindow* w) {
    auto* bar = Find<qt::TabControlWidget>(w, "TabControl1")->Tabs();
    for (int i = 0; i < bar->count(); ++i) tabs.push_back(bar->tabText(i).toStdString());
    memos.push_back(bar->tabText(bar->currentIndex()).toStdString() + "|" + MemoText(w, "Memo1"));
    Screenshot(w, "news-sp5");
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
    memos.push_back(bar->tabText(bar->currentIndex()).toStdString() + "|" + MemoText(w, "Memo1"));
    Screenshot(w, "news-sp0");
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    memos.push_back(bar->tabText(bar->currentIndex()).toStdString() + "|" + MemoText(w, "Memo1"));
    w->close();
  });
  Click(news);
  EXPECT_EQ(tabs, (std::vector<std::string>{"SP 0", "SP 5"}));
  EXPECT_EQ(memos, (std::vector<std::string>{"SP 5|20.05.2013. Сборка 0\n\n\n\n", "SP 0|22.01.2013. Сборка 0\n",
                                             "SP 5|20.05.2013. Сборка 0\n\n\n\n"}));
  QTest::qWait(50);
  // Activated again: the emphasis stays as it was, not applied twice.
  EXPECT_EQ(news->text().toStdString(), "Новости !!!");
  EXPECT_EQ(news->width(), 150);
}

TEST(QtWizard, MessageBoxesShowLineBreaksAndReturnTheAnswer) {
  qt::QtDialog dialog;
  std::string text;
  bool hasIcon = true;
  test::WhenModal<QMessageBox>([&](QMessageBox* box) {
    text = box->text().toStdString();
    hasIcon = box->icon() != QMessageBox::NoIcon;
    EXPECT_EQ(box->buttons().size(), 1);
    Screenshot(box, "message-box");
    box->button(QMessageBox::Ok)->click();
  });
  dialog.ShowMessage("Установка невозможна\rКод: sp.08.5");
  EXPECT_EQ(text, "Установка невозможна\nКод: sp.08.5");
  EXPECT_FALSE(hasIcon);

  test::WhenModal<QMessageBox>([&](QMessageBox* box) {
    hasIcon = box->icon() != QMessageBox::NoIcon;
    box->button(QMessageBox::No)->click();
  });
  EXPECT_FALSE(dialog.AskYesNo("Закрыть программу?"));
  EXPECT_FALSE(hasIcon);
}

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
