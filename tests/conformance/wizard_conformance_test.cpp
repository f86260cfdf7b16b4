// The wizard window as both toolkits must build it, driven through each
// toolkit's driver (view_driver.h): the page flow, the agreement gate, Tab
// order, Escape, message boxes, the news window's modality, a handler that
// throws and a window whose creation fails. The same source runs against the
// Qt views on Linux and the native views under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>

#include "conformance/view_driver.h"
#include "platform/own_executable.h"
#include "startup/install_registry.h"
#include "startup/start_sequence.h"
#include "support/fakes.h"
#include "wizard/news.h"

namespace kv {
namespace {

using test::Modal;

/* The wizard over its logic, with the built program as its own executable (it
** carries 7.0.12.0) and an installation in a fresh folder. The install run is
** a stand-in that reports as a finished run does, so that the view is seen in
** every state. */
struct Wizard {
  std::unique_ptr<test::ViewDriver> d = test::OpenViewDriver();
  std::string dir = d->FreshFolder();
  test::FixedClock clock;
  test::RecordingDialog logDialog;
  Installation installation;
  std::unique_ptr<RegisterLog> log;
  std::unique_ptr<OwnExecutable> executable = OpenBundledExecutable(d->ProgramPath(), true);
  std::vector<NewsEntry> news{NewsTable().begin(), NewsTable().end()};
  int runs = 0;
  std::string labelDuringRun;
  std::optional<std::string> runFails;
  std::unique_ptr<WizardForm> form;

  Wizard() {
    const char s = d->Separator();
    installation.folders = DeriveFolders(dir + "prog", dir + "base", 2026);
    installation.databases.base = installation.folders.data + "Base" + s + "Base.fdb";
    installation.databases.director = installation.folders.data + "Director" + s + "Director.fdb";
    RealFileSystem().CreateDirs(installation.folders.info);
    // The user's recorded version is 7.0.0 whatever other tests recorded.
    WriteUserSetting(d->UserRegistry(), "", "ServicePack", 0);
    WriteUserSetting(d->UserRegistry(), "", "Build", 0);
    log = std::make_unique<RegisterLog>(RegisterLog::Setup{kApplicationTitle, d->ProgramPath(),
                                                            installation.folders.info,
                                                            installation.folders.registerLog},
                                        RealFileSystem(), clock, logDialog);
  }

  void Open() {
    WizardWindow& window = d->Window();
    form = std::make_unique<WizardForm>(WizardServices{
        window, *log, d->UserRegistry(), *executable, d->ProgramPath(), installation,
        [](const std::string& path) -> std::optional<VersionRecord> {
          if (path.ends_with("Base.fdb")) return VersionRecord{700, 9, 4};
          if (path.ends_with("Director.fdb")) return VersionRecord{700, 11, 0};
          return std::nullopt;
        },
        [this, &window](const FileVersion&) {
          ++runs;
          if (runFails) throw std::runtime_error(*runFails);
          window.SetBusyCursor(true);
          window.SetGaugeMax(549);
          for (int pack = 1; pack <= 12; ++pack) {
            window.ZapisLabel(" Установка Service Pack " + std::string(pack < 10 ? "0" : "") + std::to_string(pack));
            if (pack == 1) labelDuringRun = d->Text("Label2");
            window.ZapisMemo3("Service Pack " + std::to_string(pack) + "\tустановлен");
            window.SetGaugeProgress(pack * 549 / 12);
          }
          window.ZapisMemo3("Файлы программы заменены");
          window.ZapisMemo3("Обновление версии 7.00 успешно завершено");
          window.ZapisLabel("");
          window.SetBusyCursor(false);
        },
        news});
    d->Attach(*form);
    form->FormCreate();
    d->Show();
    form->FormActivate();  // without a window manager the activation may not be reported
  }

  void ToInstallPage() {
    d->Click("Button1");
    d->Click("CheckBox1");
    d->Click("Button1");
    ASSERT_EQ(d->Window().CurrentPage(), WizardPage::Install);
  }
};

TEST(WizardView, PagesFollowTheClicksTheAgreementGatesNextAndTabReachesItsBox) {
  Wizard f;
  f.Open();
  test::ViewDriver& d = *f.d;
  EXPECT_EQ(d.Title(), "Квенира. Обновление версии 7.12");
  EXPECT_EQ(d.ClientWidth(), 558);
  EXPECT_EQ(d.ClientHeight(), 466);
  const std::string memo1 = d.Text("Memo1");
  EXPECT_NE(memo1.find("Текущая сборка: \t7.0.0\nНовая сборка: \t7.12.0\n"), std::string::npos) << memo1;
  EXPECT_NE(memo1.find("Base.fdb:       сборка (7.09.004)\nDirector.fdb:   сборка (7.11.000)"), std::string::npos);
  EXPECT_TRUE(d.Visible("Button1"));
  EXPECT_TRUE(d.Visible("TabSheet1"));
  d.Screenshot("wizard-1-start");

  d.Click("Button1");
  EXPECT_EQ(d.Window().CurrentPage(), WizardPage::Agreement);
  EXPECT_TRUE(d.Visible("TabSheet2"));
  EXPECT_FALSE(d.Visible("TabSheet1"));
  EXPECT_FALSE(d.Enabled("Button1"));
  EXPECT_EQ(d.Text("Panel1"), "   Лицензионное соглашение");
  EXPECT_NE(d.Text("Memo2").find("ЛИЦЕНЗИОННОЕ СОГЛАШЕНИЕ"), std::string::npos);
  for (bool ticked : {true, false, true, false, true}) {
    d.Click("CheckBox1");
    EXPECT_EQ(d.Window().CheckBox1Checked(), ticked);
    EXPECT_EQ(d.Enabled("Button1"), ticked);
  }
  d.Screenshot("wizard-2-agreement");
  // Tab reaches the agreement's box inside its page, and the buttons, and
  // nothing on the pages that are not shown.
  const std::vector<std::string> tabs = d.TabOrder();
  auto reached = [&](const char* name) { return std::find(tabs.begin(), tabs.end(), name) != tabs.end(); };
  EXPECT_TRUE(reached("CheckBox1"));
  EXPECT_TRUE(reached("Button1"));
  EXPECT_TRUE(reached("Button3"));
  EXPECT_FALSE(reached("Memo1")) << "Tab reaches into the start page behind the agreement";

  d.Click("Button1");
  EXPECT_EQ(d.Window().CurrentPage(), WizardPage::Install);
  EXPECT_TRUE(d.Visible("TabSheet3"));
  EXPECT_EQ(d.Text("Button1"), "Установить");
  EXPECT_EQ(d.Text("Memo3").rfind("Всё готово для установки обновлений\n", 0), 0u);
  d.Screenshot("wizard-3-install");

  d.Click("Button1");
  EXPECT_EQ(f.runs, 1);
  EXPECT_EQ(f.labelDuringRun, " Установка Service Pack 01");
  EXPECT_EQ(d.Window().GaugeProgress(), 549);
  EXPECT_EQ(d.Window().GaugeMax(), 549);
  EXPECT_NE(d.Text("Memo3").find("Обновление версии 7.00 успешно завершено"), std::string::npos);
  d.Wait(50);
  d.Screenshot("wizard-4-finished");

  // Exit from inside the window's own loop: the loop ends with the window.
  d.RunWithClick("Button2");
  EXPECT_TRUE(d.Closed());
  EXPECT_NE(RealFileSystem().ReadFile(f.installation.folders.registerLog).find(" 009: "), std::string::npos);
}

TEST(WizardView, NewsButtonBlinksForANewsBuildAndOpensTheNewsWindowModally) {
  Wizard f;
  f.news.push_back({12, 0, "01.12.2026", "Новые отчёты"});
  f.Open();
  test::ViewDriver& d = *f.d;
  EXPECT_EQ(d.Text("Button3"), "Новости !!!");
  EXPECT_EQ(d.Window().Button3Width(), 150);
  bool seenBold = false, seenPlain = false;
  for (int i = 0; i < 30 && !(seenBold && seenPlain); ++i) {
    d.Wait(100);
    (d.Window().Button3Bold() ? seenBold : seenPlain) = true;
  }
  EXPECT_TRUE(seenBold && seenPlain) << "the News button does not blink";

  std::vector<std::string> tabs, pages;
  bool blocked = false;
  d.WhenModal(Modal::News, [&] {
    blocked = d.WizardBlocked();
    tabs = d.NewsTabs();
    pages.push_back(d.NewsPage());
    d.ScreenshotModal("news-sp5");
    d.PickNewsTab(0);
    pages.push_back(d.NewsPage());
    d.ScreenshotModal("news-sp0");
    d.PickNewsTab(1);
    pages.push_back(d.NewsPage());
    d.CloseNews();
  });
  d.Click("Button3");
  ASSERT_TRUE(d.ModalSeen());
  EXPECT_TRUE(blocked) << "the news window is not modal";
  EXPECT_FALSE(d.WizardBlocked());
  EXPECT_EQ(tabs, (std::vector<std::string>{"SP 0", "SP 5"}));
  EXPECT_EQ(pages, (std::vector<std::string>{"SP 5|20.05.2013. Сборка 0\n\n\n\n", "SP 0|22.01.2013. Сборка 0\n",
                                             "SP 5|20.05.2013. Сборка 0\n\n\n\n"}));
  d.Wait(50);
  // Activated again: the emphasis stays as it was, not applied twice.
  EXPECT_EQ(d.Text("Button3"), "Новости !!!");
  EXPECT_EQ(d.Window().Button3Width(), 150);
}

TEST(WizardView, EscapeClosesTheNewsWindowButLeavesTheWizardAsItWas) {
  Wizard f;
  f.Open();
  test::ViewDriver& d = *f.d;
  d.WhenModal(Modal::News, [&] { d.PressEscapeInNews(); });
  d.Window().ShowNewsWindow();
  ASSERT_TRUE(d.ModalSeen());
  EXPECT_TRUE(d.EscapeClosedNews()) << "Escape left the news window open";
  EXPECT_FALSE(d.WizardBlocked());

  // In the wizard's own memo: a multi-line edit must not take its page, or the wizard, with it.
  d.PressEscape("Memo1");
  EXPECT_TRUE(d.Visible("Memo1")) << "Escape took a page of the wizard with it";
  EXPECT_FALSE(d.Closed());
}

TEST(WizardView, MessageBoxesShowLineBreaksWithoutIconOverTheWizardEvenWithAnotherWindowActive) {
  Wizard f;
  f.Open();
  test::ViewDriver& d = *f.d;
  d.ActivateAnotherWindow();
  test::BoxSeen seen;
  bool blocked = false;
  d.WhenModal(Modal::MessageBox, [&] {
    seen = d.ReadBox();
    blocked = d.WizardBlocked();
    d.ScreenshotModal("message-box");
    d.AnswerBox(true);
  });
  d.Window().ShowMessage("Установка невозможна\rКод: sp.08.5");
  ASSERT_TRUE(d.ModalSeen());
  EXPECT_EQ(seen.text, "Установка невозможна\nКод: sp.08.5");
  EXPECT_EQ(seen.buttons, 1);
  EXPECT_FALSE(seen.icon);
  EXPECT_TRUE(seen.ownedByWizard) << "the message box is not the wizard's";
  EXPECT_TRUE(blocked) << "the wizard stays clickable behind its message box";

  for (bool yes : {false, true}) {
    d.WhenModal(Modal::MessageBox, [&] {
      seen = d.ReadBox();
      d.AnswerBox(yes);
    });
    EXPECT_EQ(d.Window().AskYesNo("Закрыть программу?"), yes);
    EXPECT_EQ(seen.text, "Закрыть программу?");
    EXPECT_EQ(seen.buttons, 2);
    EXPECT_FALSE(seen.icon);
    EXPECT_TRUE(seen.ownedByWizard);
  }
}

TEST(WizardView, AHandlerThatThrowsIsShownInAMessageBoxAndTheWizardGoesOn) {
  Wizard f;
  f.runFails = "Нет доступа к базе данных";
  f.Open();
  test::ViewDriver& d = *f.d;
  f.ToInstallPage();
  test::BoxSeen seen;
  d.WhenModal(Modal::MessageBox, [&] {
    seen = d.ReadBox();
    d.AnswerBox(true);
  });
  d.Click("Button1");
  ASSERT_TRUE(d.ModalSeen());
  EXPECT_EQ(f.runs, 1);
  EXPECT_EQ(seen.text, "Нет доступа к базе данных");
  EXPECT_TRUE(seen.ownedByWizard);
  EXPECT_FALSE(d.Closed());
  EXPECT_TRUE(d.Enabled("Button2")) << "Exit stays disabled after the failed run";
  d.Click("Button2");
  EXPECT_TRUE(d.Closed());
}

TEST(WizardView, ANewsWindowThatCannotBeCreatedLeavesTheWizardEnabled) {
  Wizard f;
  f.Open();
  test::ViewDriver& d = *f.d;
  if (!d.RefuseNewsWindows(true)) GTEST_SKIP() << "this toolkit offers no way to make a window's creation fail";
  EXPECT_THROW(d.Window().ShowNewsWindow(), std::exception);
  d.RefuseNewsWindows(false);
  EXPECT_FALSE(d.WizardBlocked()) << "the wizard stays disabled after the news window failed";
  EXPECT_FALSE(d.Closed());
}

}  // namespace
}  // namespace kv
