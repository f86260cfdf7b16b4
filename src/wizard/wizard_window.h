/*
** What the wizard's logic needs from its window.
**
** The page flow, the install run and the program-file steps talk to the window
** only through this list, so they run the same behind the real window, the
** console of the unattended mode and the recorder of the tests. Texts are UTF-8;
** "\r" inside a message is a line break as the program builds it.
*/
#pragma once

#include <string>

#include "platform/dialog.h"

namespace kv {

enum class WizardPage { Start = 1, Agreement = 2, Install = 3 };

class WizardWindow : public OperatorDialog {
 public:
  // Pages and captions.
  virtual void ShowPage(WizardPage page) = 0;
  virtual WizardPage CurrentPage() const = 0;
  virtual void SetPanelCaption(const std::string& text) = 0;
  virtual void SetWindowCaption(const std::string& text) = 0;

  // Button1: Next, later Install.
  virtual void SetButton1Caption(const std::string& text) = 0;
  virtual void SetButton1Visible(bool visible) = 0;
  virtual void SetButton1Enabled(bool enabled) = 0;

  // Button2: Exit. Disabled while the install run pumps messages, so that
  // the window cannot close under a run in progress.
  virtual void SetButton2Enabled(bool enabled) = 0;

  // Button3: News.
  virtual std::string Button3Caption() const = 0;
  virtual void SetButton3Caption(const std::string& text) = 0;
  virtual int Button3Width() const = 0;
  virtual void SetButton3Width(int width) = 0;
  virtual void SetButton3FontSize(int size) = 0;
  virtual bool Button3Bold() const = 0;
  virtual void SetButton3Bold(bool bold) = 0;

  // CheckBox1: the agreement.
  virtual bool CheckBox1Checked() const = 0;

  // Memos and the status label; each repaints at once.
  virtual void ZapisMemo1(const std::string& line) = 0;
  virtual void ZapisMemo3(const std::string& line) = 0;
  virtual void ZapisLabel(const std::string& text) = 0;
  virtual void SetLabel2Visible(bool visible) = 0;

  // Gauge1.
  virtual int GaugeProgress() const = 0;
  virtual void SetGaugeProgress(int progress) = 0;
  virtual int GaugeMax() const = 0;
  virtual void SetGaugeMax(int max) = 0;
  virtual void SetGaugeVisible(bool visible) = 0;

  // Application-wide.
  virtual void SetBusyCursor(bool busy) = 0;
  virtual void PumpMessages() = 0;
  virtual void Pause(int ms) = 0;
  virtual void StartTimer1() = 0;
  virtual void StopTimer1() = 0;
  /* Creates the news window, shows it modally and destroys it when the
  ** operator closes it; the wizard is activated again afterwards. */
  virtual void ShowNewsWindow() = 0;
  /* Closes the wizard window (its close handler runs). */
  virtual void CloseWindow() = 0;
};

}  // namespace kv
