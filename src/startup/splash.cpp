/*
** The splash's steps and status line.
*/
#include "startup/splash.h"

namespace kv {

void Splash::Open(int steps) {
  SplashClose();
  window_ = ops_.CreateSplash();
  window_->SetStatus(kSplashInitialStatus);
  window_->Show();
  window_->Repaint();
  window_->SetGaugeMax(steps);
}

void Splash::SplashStep() {
  if (window_) window_->SetGaugePosition(window_->GaugePosition() + 1);
  // Holding Ctrl slows the steps down so that a person can read each status.
  clock_.SleepMs(ops_.CtrlKeyHeld() ? 3000 : 100);
}

void Splash::SplashStatus(const std::string& text) {
  if (window_) window_->SetStatus("");
  ops_.PumpMessages();
  if (window_) window_->SetStatus(text);
  clock_.SleepMs(50);
}

void Splash::SplashClose() {
  if (!window_) return;
  window_->Hide();
  window_.reset();
}

}  // namespace kv
