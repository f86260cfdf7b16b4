// The whole wizard in its Qt window, clicked from the start page through the
// install run of a level-0 demo installation on the embedded engine.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <set>

#include "platform/own_executable.h"
#include "platform/posix/reg_file_registry.h"
#include "platform/text_codec.h"
#include "qt_test_support.h"
#include "qt_wizard.h"
#include "startup/install_registry.h"
#include "support/demo_fixture.h"
#include "support/fb_test_db.h"
#include "views/qt/gauge_widget.h"

namespace kv {
namespace {

using test::Click;
using test::Find;

TEST(QtWizardRun, ClicksADemoInstallationUpToDate) {
  test::DemoFixture f(0);
  const Installation& inst = f.demo.installation;
  RegFileRegistry registry(f.demo.registryPath);
  test::RecordingDialog logDialog;
  RegisterLog log({kApplicationTitle, KV_UPGRADE_EXE, inst.folders.info, inst.folders.registerLog}, RealFileSystem(),
                  f.clock, logDialog);
  RunLog runLog(RealFileSystem(), f.clock, inst.folders.info);
  QtWizard wizard(f.demo.installation, log, registry, test::TestClient(), KV_UPGRADE_EXE, runLog);
  QWidget* w = &wizard.Window();
  wizard.Window().ShowCentred();
  QTest::qWait(20);

  Click(Find<QPushButton>(w, "Button1"));
  Click(Find<QCheckBox>(w, "CheckBox1"));
  Click(Find<QPushButton>(w, "Button1"));

  // While the run goes, a timer of the window's own event loop samples the
  // label and the gauge: it fires only if the window keeps processing events.
  std::set<std::string> labels;
  std::set<int> gauge;
  bool midShot = false;
  QTimer sampler;
  sampler.setInterval(10);
  QObject::connect(&sampler, &QTimer::timeout, [&] {
    labels.insert(Find<QLabel>(w, "Label2")->text().toStdString());
    const int progress = Find<qt::GaugeWidget>(w, "Gauge1")->Progress();
    gauge.insert(progress);
    if (!midShot && progress > 250) {
      midShot = true;
      test::Screenshot(w, "wizard-4-running");
    }
  });
  sampler.start();
  std::vector<std::string> messages;
  test::WhenModal<QMessageBox>([&](QMessageBox* box) {
    messages.push_back(box->text().toStdString());
    box->button(QMessageBox::Ok)->click();
  });
  Click(Find<QPushButton>(w, "Button1"));  // Установить
  sampler.stop();
  test::Screenshot(w, "wizard-5-finished");

  EXPECT_TRUE(messages.empty()) << messages.front();
  const std::string memo3 = test::MemoText(w, "Memo3");
  EXPECT_NE(memo3.find("Обновление версии 7.00 успешно завершено"), std::string::npos) << memo3;
  EXPECT_FALSE(Find<QPushButton>(w, "Button1")->isVisible());
  EXPECT_TRUE(Find<QPushButton>(w, "Button2")->isEnabled());
  EXPECT_GT(labels.size(), 10u) << "the label did not change while the run went";
  EXPECT_GT(gauge.size(), 10u) << "the gauge did not move while the run went";
  EXPECT_TRUE(labels.count(" Установка Service Pack 12_2"));

  EXPECT_EQ(ReadUserSetting(registry, "", "ServicePack"), 12);
  EXPECT_EQ(ReadUserSetting(registry, "", "Build"), 0);
  for (const std::string& db : {inst.databases.base, inst.databases.orders, inst.databases.director})
    EXPECT_EQ(test::QueryValue(db, "SELECT Version || '/' || ServicePack || '/' || Build FROM kv_Setting"), "700/12/0");
  auto exe = OpenBundledExecutable(KV_UPGRADE_EXE);
  for (const char* file : {"kv700_d.exe", "tonic700.exe", "kv5.bpl"})
    EXPECT_TRUE(std::filesystem::file_size(inst.folders.program + file) > 0) << file;

  Click(Find<QPushButton>(w, "Button2"));
  const std::string registerLog = AnsiToUtf8(test::ReadFile(inst.folders.registerLog));
  for (const char* code : {" 000: *", "upgrade 7.10 d 003: *", "upgrade 7.10 d 004: *", "009: *"})
    EXPECT_NE(registerLog.find(code), std::string::npos) << code;
  EXPECT_EQ(wizard.Wizard().ExitStatus(), kCompleted);
  // The window's run leaves the same detailed log as the console's.
  const std::string detail = test::ReadFile(runLog.Path());
  for (const char* line : {"Пакет z_SP_01: завершён", "Пакет z_SP_12_2: завершён", "Реестр: ServicePack = 12",
                           "Обновление версии 7.00 успешно завершено"})
    EXPECT_NE(detail.find(line), std::string::npos) << line;
}

}  // namespace
}  // namespace kv
