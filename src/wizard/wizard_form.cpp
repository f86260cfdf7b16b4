/*
** The wizard window's handlers.
*/
#include "wizard/wizard_form.h"

#include <exception>
#include <stdexcept>

#include "platform/scope_exit.h"
#include "startup/install_registry.h"

namespace kv {
namespace {

std::string VersionText(const FileVersion& v) {
  return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.servicePack) + "." +
         std::to_string(v.build);
}

}  // namespace

WizardForm::WizardForm(WizardServices services) : s_(std::move(services)) {
  if (!s_.readVersionRecord) throw std::invalid_argument("the wizard needs a version record reader");
  if (!s_.installRun) throw std::invalid_argument("the wizard needs an install run");
}

void WizardForm::FormCreate() {
  WizardWindow& w = s_.window;
  s_.log.ReportCode(0);
  w.SetButton1Visible(false);
  w.ShowPage(WizardPage::Start);

  try {
    carried_ = s_.executable.ReadOwnFileVersion(s_.ownPath);
  } catch (const std::exception&) {
    w.ZapisMemo1("Обновление не возможно");
    w.ZapisMemo1("Произошел непредвиденный сбой");
    w.ZapisMemo1("Перезагрузите компьютер");
    // The cause is the wizard's own file, not the installation: say so.
    w.ZapisMemo1("");
    w.ZapisMemo1("Файл программы обновления повреждён. Нужна новая копия программы обновления.");
    ownFileDamaged_ = true;
    s_.log.ReportCode(900);
    return;
  }

  InstalledVersion installed;
  try {
    installed.servicePack = ReadUserSetting(s_.registry, "", "ServicePack");
    installed.build = ReadUserSetting(s_.registry, "", "Build");
  } catch (const std::exception&) {
    installed = {};
  }

  if (s_.installation.params.numbered) {
    w.ZapisMemo1(s_.ownPath + " (" + VersionText(carried_) + ")");
    w.ZapisMemo1("");
    w.ZapisMemo1("База: " + s_.installation.folders.data);
    w.ZapisMemo1("");
  }
  w.ZapisMemo1("Текущая сборка: \t7." + std::to_string(installed.servicePack) + "." +
               std::to_string(installed.build));

  const VersionDecision decision = DecideVersion(carried_, installed);
  for (const std::string& line : decision.lines) w.ZapisMemo1(line);
  if (!decision.Offered()) return;

  w.ZapisMemo1("");
  ShowDatabaseBuilds();
  w.ZapisMemo1("");
  w.ZapisMemo1("Нажмите кн. Далее для продолжения установки");
  w.SetWindowCaption("Квенира. Обновление версии 7.12");
  newsMark_ = IsNewsBuild(s_.news, carried_.servicePack, carried_.build);
  offered_ = true;
  w.SetButton1Visible(true);
  w.Pause(50);
}

void WizardForm::ShowDatabaseBuilds() {
  // The start page's own order, with the first temporary Orders file. The
  // server Orders database is found only when the install run starts, so at
  // creation its path is normally empty and gives no line.
  static constexpr DatabaseMember kShown[] = {
      &DatabasePaths::base,     &DatabasePaths::config,       &DatabasePaths::system,
      &DatabasePaths::orders,   &DatabasePaths::serverOrders, &DatabasePaths::ordersTmp1,
      &DatabasePaths::stockMan, &DatabasePaths::director,     &DatabasePaths::price};
  for (const std::string& path : KnownPaths(s_.installation.databases, kShown)) ShowDatabaseBuild(path);
}

void WizardForm::ShowDatabaseBuild(const std::string& path) {
  if (path.empty()) return;
  std::optional<VersionRecord> record;
  try {
    record = s_.readVersionRecord(path);
  } catch (const std::exception&) {
    return;  // unreadable: left out of the start page
  }
  if (record) s_.window.ZapisMemo1(DatabaseBuildLine(path, *record));
}

void WizardForm::FormActivate() {
  if (!newsMark_ || emphasisApplied_) return;
  WizardWindow& w = s_.window;
  w.SetButton3FontSize(12);
  w.SetButton3Caption(w.Button3Caption() + " !!!");
  w.SetButton3Width(w.Button3Width() * 2);
  w.StartTimer1();
  emphasisApplied_ = true;
}

void WizardForm::Button1Click() {
  WizardWindow& w = s_.window;
  if (!offered_ || running_) return;
  switch (w.CurrentPage()) {
    case WizardPage::Start:
      w.SetButton1Enabled(false);
      w.SetPanelCaption("   Лицензионное соглашение");
      w.ShowPage(WizardPage::Agreement);
      break;
    case WizardPage::Agreement:
      if (!w.CheckBox1Checked()) return;
      w.SetButton1Caption("Установить");
      w.SetPanelCaption("   Установка обновлений");
      w.ZapisLabel("");
      w.ZapisMemo3("Всё готово для установки обновлений");
      w.ZapisMemo3("Для установки обновлений нажмите кн. \"Установить\"");
      w.ZapisMemo3("Если Вы передумали - нажмите кн. \"Выход\"");
      w.ZapisMemo3("Какие изменения в программе узнаете, если нажмёте кн. \"Новости\"");
      w.ZapisMemo3("");
      w.ShowPage(WizardPage::Install);
      break;
    case WizardPage::Install: {
      running_ = true;
      w.SetButton2Enabled(false);
      ScopeExit stopped([&] {
        running_ = false;
        w.SetButton2Enabled(true);
      });
      s_.installRun(carried_);
      break;
    }
  }
}

void WizardForm::Button2Click() {
  if (running_) return;
  s_.window.CloseWindow();
}

void WizardForm::Button3Click() { s_.window.ShowNewsWindow(); }

void WizardForm::CheckBox1Click() { s_.window.SetButton1Enabled(s_.window.CheckBox1Checked()); }

void WizardForm::Timer1Timer() {
  WizardWindow& w = s_.window;
  w.StopTimer1();
  // Started again however the toggle ends; the timer was found just above, so this does not throw.
  ScopeExit restart([&w] { w.StartTimer1(); });
  w.SetButton3Bold(!w.Button3Bold());
}

void WizardForm::FormClose() { s_.log.ReportCode(9); }

}  // namespace kv
