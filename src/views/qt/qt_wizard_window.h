/*
** The wizard window TFormUpgrade1 in Qt: its widgets built from the form
** description, its window operations for the logic, and its events forwarded
** to a WizardForm.
**
** States: created (widgets built, no form attached) -> attached (events reach
** the form) -> closed. Events before Attach are ignored; an error a handler
** throws is shown in a message box, since it cannot cross Qt's event loop.
*/
#pragma once

#include <QWidget>

#include "platform/pump_throttle.h"
#include "views/qt/form_widgets.h"
#include "views/qt/qt_desktop.h"
#include "wizard/wizard_events.h"
#include "wizard/wizard_form.h"
#include "wizard/wizard_window.h"

class QEventLoop;
class QTimer;

namespace kv::qt {

class QtWizardWindow final : public QWidget, public WizardWindow {
 public:
  QtWizardWindow();
  ~QtWizardWindow() override;

  /* Events go to form from now on. */
  void Attach(WizardForm& form) { events_.Attach(form); }
  const FormWidgets& Widgets() const { return widgets_; }
  /* Shows the window centred on the screen and activates it. */
  void ShowCentred();
  /* Processes events until the window has closed. */
  void RunUntilClosed();

  // OperatorDialog
  void ShowMessage(const std::string& text) override { dialog_.ShowMessage(text); }
  bool AskYesNo(const std::string& text) override { return dialog_.AskYesNo(text); }

  // WizardWindow
  void ShowPage(WizardPage page) override;
  WizardPage CurrentPage() const override;
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
  void StartTimer1() override;
  void StopTimer1() override;
  void ShowNewsWindow() override;
  void CloseWindow() override;

 protected:
  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  FormWidgets widgets_;
  QtDialog dialog_;
  WizardEvents events_{dialog_};
  // The install run reports progress from the interface thread: pumping
  // there keeps the window answering.
  PumpThrottle pump_;
  QEventLoop* loop_ = nullptr;  // RunUntilClosed's, while it runs
  bool busy_ = false;
};

}  // namespace kv::qt
