/*
** The wizard window TFormUpgrade1 on Windows: native controls built from the
** form description, its window operations for the logic, and its events
** forwarded to a WizardForm.
**
** States: created (controls built, no form attached) -> attached (events reach
** the form) -> closed (the window is gone; operations do nothing). The events
** go through WizardEvents, which ignores them before Attach.
*/
#pragma once


#include "platform/pump_throttle.h"
#include "views/win32/desktop.h"
#include "views/win32/form_window.h"
#include "views/win32/session_block.h"
#include "wizard/wizard_events.h"
#include "wizard/wizard_form.h"
#include "wizard/wizard_window.h"

namespace kv::win32 {

class Win32WizardWindow final : public WizardWindow, private FormEvents {
 public:
  Win32WizardWindow();

  /* Events go to form from now on. */
  void Attach(WizardForm& form) { events_.Attach(form); }
  const FormWindow& Form() const { return window_; }
  /* Shows the window centred on the screen and activates it. */
  void ShowCentred() { window_.ShowCentred(); }
  bool Closed() const { return !window_.Open(); }
  /* Processes messages until the window has closed (or the session ends). */
  void RunUntilClosed() { window_.RunUntilClosed(); }
  /* Held by the logic over work the end of the session must not cut. */
  SessionGuard& Session() { return session_; }

  // OperatorDialog
  void ShowMessage(const std::string& text) override { dialog_.ShowMessage(text); }
  bool AskYesNo(const std::string& text) override { return dialog_.AskYesNo(text); }

  // WizardWindow
  void ShowPage(WizardPage page) override;
  WizardPage CurrentPage() const override { return page_; }
  void SetPanelCaption(const std::string& text) override;
  void SetWindowCaption(const std::string& text) override;
  void SetButton1Caption(const std::string& text) override;
  void SetButton1Visible(bool visible) override;
  void SetButton1Enabled(bool enabled) override;
  void SetButton2Enabled(bool enabled) override;
  std::string Button3Caption() const override;
  void SetButton3Caption(const std::string& text) override;
  int Button3Width() const override;
  void SetButton3Width(int width) override;
  void SetButton3FontSize(int size) override;
  bool Button3Bold() const override;
  void SetButton3Bold(bool bold) override;
  bool CheckBox1Checked() const override;
  void ZapisMemo1(const std::string& line) override;
  void ZapisMemo3(const std::string& line) override;
  void ZapisLabel(const std::string& text) override;
  void SetLabel2Visible(bool visible) override;
  int GaugeProgress() const override;
  void SetGaugeProgress(int progress) override;
  int GaugeMax() const override;
  void SetGaugeMax(int max) override;
  void SetGaugeVisible(bool visible) override;
  void SetBusyCursor(bool busy) override;
  void PumpMessages() override;
  void Pause(int ms) override;
  void StartTimer1() override { window_.StartTimer("Timer1"); }
  void StopTimer1() override { window_.StopTimer("Timer1"); }
  void ShowNewsWindow() override;
  void CloseWindow() override;

 private:
  // FormEvents
  void Clicked(std::string_view element) override { events_.Clicked(element); }
  void TimerTicked(std::string_view element) override { events_.Clicked(element); }
  void Activated() override { events_.Activated(); }
  bool CloseRequested() override { return events_.CloseRequested(); }
  void Destroyed() override;
  bool Busy() const override { return busy_; }
  bool SessionMayEnd() const override { return session_.MayEnd(); }

  void Show(std::string_view element, bool visible);

  FormWindow window_;
  WindowSessionGuard session_{window_};
  Win32Dialog dialog_;
  WizardEvents events_{dialog_};
  // The install run reports progress from the interface thread: pumping
  // there keeps the window answering.
  PumpThrottle pump_{[this] { window_.PumpPending(); }};
  WizardPage page_ = WizardPage::Start;
  bool busy_ = false;
};

/* Appends a line to a multi-line EDIT and scrolls it into view. */
void AppendLine(HWND memo, const std::string& line, bool scroll = true);

}  // namespace kv::win32
