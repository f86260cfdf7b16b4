/*
** The wizard's window with every line the operator is shown also written to
** the run log: the start page's and the install page's memo, the label, and
** every message box with the answer given. Everything else passes straight
** through.
*/
#pragma once

#include "startup/run_log.h"
#include "wizard/wizard_window.h"

namespace kv {

class LoggedWindow final : public WizardWindow {
 public:
  LoggedWindow(WizardWindow& inner, RunLog& log) : w_(inner), log_(log) {}

  void ShowMessage(const std::string& text) override {
    log_.Write("Сообщение: " + text);
    w_.ShowMessage(text);
  }
  bool AskYesNo(const std::string& text) override {
    const bool yes = w_.AskYesNo(text);
    log_.Write("Вопрос: " + text + (yes ? " -> Да" : " -> Нет"));
    return yes;
  }
  void ZapisMemo3(const std::string& line) override {
    if (!line.empty()) log_.Write(line);
    w_.ZapisMemo3(line);
  }
  void ZapisLabel(const std::string& text) override {
    if (!text.empty()) log_.Write(text);
    w_.ZapisLabel(text);
  }

  void ShowPage(WizardPage page) override { w_.ShowPage(page); }
  WizardPage CurrentPage() const override { return w_.CurrentPage(); }
  void SetPanelCaption(const std::string& text) override { w_.SetPanelCaption(text); }
  void SetWindowCaption(const std::string& text) override { w_.SetWindowCaption(text); }
  void SetButton1Caption(const std::string& text) override { w_.SetButton1Caption(text); }
  void SetButton1Visible(bool visible) override { w_.SetButton1Visible(visible); }
  void SetButton1Enabled(bool enabled) override { w_.SetButton1Enabled(enabled); }
  void SetButton2Enabled(bool enabled) override { w_.SetButton2Enabled(enabled); }
  std::string Button3Caption() const override { return w_.Button3Caption(); }
  void SetButton3Caption(const std::string& text) override { w_.SetButton3Caption(text); }
  int Button3Width() const override { return w_.Button3Width(); }
  void SetButton3Width(int width) override { w_.SetButton3Width(width); }
  void SetButton3FontSize(int size) override { w_.SetButton3FontSize(size); }
  bool Button3Bold() const override { return w_.Button3Bold(); }
  void SetButton3Bold(bool bold) override { w_.SetButton3Bold(bold); }
  bool CheckBox1Checked() const override { return w_.CheckBox1Checked(); }
  void ZapisMemo1(const std::string& line) override {
    if (!line.empty()) log_.Write(line);
    w_.ZapisMemo1(line);
  }
  void SetLabel2Visible(bool visible) override { w_.SetLabel2Visible(visible); }
  int GaugeProgress() const override { return w_.GaugeProgress(); }
  void SetGaugeProgress(int progress) override { w_.SetGaugeProgress(progress); }
  int GaugeMax() const override { return w_.GaugeMax(); }
  void SetGaugeMax(int max) override { w_.SetGaugeMax(max); }
  void SetGaugeVisible(bool visible) override { w_.SetGaugeVisible(visible); }
  void SetBusyCursor(bool busy) override { w_.SetBusyCursor(busy); }
  void PumpMessages() override { w_.PumpMessages(); }
  void Pause(int ms) override { w_.Pause(ms); }
  void StartTimer1() override { w_.StartTimer1(); }
  void StopTimer1() override { w_.StopTimer1(); }
  void ShowNewsWindow() override { w_.ShowNewsWindow(); }
  void CloseWindow() override { w_.CloseWindow(); }

 private:
  WizardWindow& w_;
  RunLog& log_;
};

/* A dialog whose messages also go to the run log, once the log exists (the
** start checks speak before the installation, and so the log, is known). */
class LoggedDialog final : public OperatorDialog {
 public:
  explicit LoggedDialog(OperatorDialog& inner) : d_(inner) {}
  void SetLog(RunLog* log) { log_ = log; }
  void ShowMessage(const std::string& text) override {
    if (log_) log_->Write("Сообщение: " + text);
    d_.ShowMessage(text);
  }
  bool AskYesNo(const std::string& text) override {
    const bool yes = d_.AskYesNo(text);
    if (log_) log_->Write("Вопрос: " + text + (yes ? " -> Да" : " -> Нет"));
    return yes;
  }

 private:
  OperatorDialog& d_;
  RunLog* log_ = nullptr;
};

}  // namespace kv
