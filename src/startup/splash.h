/*
** The splash window shown while the start checks run: a status line and a
** gauge with one step per check.
**
** The start sequence talks to the splash and the desktop around it only
** through SplashOperations, so it runs the same behind a real window, the
** console and the recorder of the tests.
*/
#pragma once

#include <memory>
#include <string>

#include "platform/clock.h"

namespace kv {

/* Status line text the splash starts with. */
inline constexpr const char* kSplashInitialStatus = "проверка системы ...";

/* One splash window; destroying the object destroys the window. */
class SplashWindow {
 public:
  virtual ~SplashWindow() = default;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  /* Repaints the whole window at once. */
  virtual void Repaint() = 0;
  virtual void SetGaugeMax(int max) = 0;
  virtual int GaugePosition() const = 0;
  virtual void SetGaugePosition(int position) = 0;
  /* Sets the status line and repaints it at once. */
  virtual void SetStatus(const std::string& text) = 0;
};

class SplashOperations {
 public:
  virtual ~SplashOperations() = default;
  /* Creates the splash window, not yet shown. */
  virtual std::unique_ptr<SplashWindow> CreateSplash() = 0;
  /* Processes pending window messages. */
  virtual void PumpMessages() = 0;
  /* True while the Ctrl key is held down. */
  virtual bool CtrlKeyHeld() = 0;
};

/* The start sequence's splash: at most one window, created by Open and
** destroyed by SplashClose (or when this object goes away). */
class Splash {
 public:
  Splash(SplashOperations& ops, Clock& clock) : ops_(ops), clock_(clock) {}

  /* Creates the window with its initial status, shows and repaints it, and
  ** sets the gauge maximum to steps. Closes a window already open first. */
  void Open(int steps);

  /* Advances the gauge by one, then pauses 100 ms, or 3000 ms while Ctrl is held. */
  void SplashStep();

  /* Blanks the status line, processes pending messages, shows text and pauses 50 ms. */
  void SplashStatus(const std::string& text);

  /* Hides and destroys the window; nothing happens when none is open. */
  void SplashClose();

  bool IsOpen() const { return window_ != nullptr; }

 private:
  SplashOperations& ops_;
  Clock& clock_;
  std::unique_ptr<SplashWindow> window_;
};

}  // namespace kv
