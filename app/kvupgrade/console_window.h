/*
** The wizard's window on a console, for the unattended mode: every memo line
** and label change goes to standard output as it happens, every message box to
** standard error (confirmed at once; questions are answered Yes), and the
** agreement counts as accepted.
*/
#pragma once

#include <ostream>

#include "platform/clock.h"
#include "startup/splash.h"
#include "wizard/wizard_window.h"

namespace kv::console {

class ConsoleWindow final : public WizardWindow {
 public:
  ConsoleWindow(std::ostream& out, std::ostream& err, Clock& clock) : out_(out), err_(err), clock_(clock) {}

  void ShowMessage(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;

  void ShowPage(WizardPage page) override { page_ = page; }
  WizardPage CurrentPage() const override { return page_; }
  void SetPanelCaption(const std::string&) override {}
  void SetWindowCaption(const std::string&) override {}
  void SetButton1Caption(const std::string&) override {}
  void SetButton1Visible(bool) override {}
  void SetButton1Enabled(bool) override {}
  void SetButton2Enabled(bool) override {}
  std::string Button3Caption() const override { return button3Caption_; }
  void SetButton3Caption(const std::string& text) override { button3Caption_ = text; }
  int Button3Width() const override { return button3Width_; }
  void SetButton3Width(int width) override { button3Width_ = width; }
  void SetButton3FontSize(int) override {}
  bool Button3Bold() const override { return button3Bold_; }
  void SetButton3Bold(bool bold) override { button3Bold_ = bold; }
  bool CheckBox1Checked() const override { return true; }

  void ZapisMemo1(const std::string& line) override { out_ << line << std::endl; }
  void ZapisMemo3(const std::string& line) override { out_ << line << std::endl; }
  void ZapisLabel(const std::string& text) override { out_ << ">" << text << std::endl; }
  void SetLabel2Visible(bool) override {}

  int GaugeProgress() const override { return progress_; }
  void SetGaugeProgress(int progress) override;
  int GaugeMax() const override { return max_; }
  void SetGaugeMax(int max) override { max_ = max; }
  void SetGaugeVisible(bool) override {}

  void SetBusyCursor(bool) override {}
  void PumpMessages() override {}
  void Pause(int ms) override { clock_.SleepMs(ms); }
  void StartTimer1() override {}
  void StopTimer1() override {}
  void ShowNewsWindow() override {}  // nobody presses News on the console
  void CloseWindow() override { closed_ = true; }

  bool Closed() const { return closed_; }

 private:
  std::ostream& out_;
  std::ostream& err_;
  Clock& clock_;
  WizardPage page_ = WizardPage::Start;
  std::string button3Caption_ = "Новости";
  int button3Width_ = 75;
  bool button3Bold_ = false;
  int progress_ = 0, max_ = 100;
  bool closed_ = false;
};

/* The splash on a console: its status lines go to standard output. */
class ConsoleSplash final : public SplashOperations {
 public:
  explicit ConsoleSplash(std::ostream& out) : out_(out) {}
  std::unique_ptr<SplashWindow> CreateSplash() override;
  void PumpMessages() override {}
  bool CtrlKeyHeld() override { return false; }

 private:
  std::ostream& out_;
};

/* Message boxes of the start sequence: standard error, confirmed at once. */
class ConsoleDialog final : public OperatorDialog {
 public:
  explicit ConsoleDialog(std::ostream& err) : err_(err) {}
  void ShowMessage(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;

 private:
  std::ostream& err_;
};

/* A message box's text with its "\r" line breaks as the console's. */
std::string ConsoleText(const std::string& text);

}  // namespace kv::console
