/*
** Console views of the wizard, the splash and the message boxes.
*/
#include "console_window.h"

#include <algorithm>

#include "platform/text_util.h"

namespace kv::console {
namespace {

class SplashLines final : public SplashWindow {
 public:
  explicit SplashLines(std::ostream& out) : out_(out) {}
  void Show() override {}
  void Hide() override {}
  void Repaint() override {}
  void SetGaugeMax(int) override {}
  int GaugePosition() const override { return position_; }
  void SetGaugePosition(int position) override { position_ = position; }
  void SetStatus(const std::string& text) override {
    if (!text.empty()) out_ << "* " << text << std::endl;
  }

 private:
  std::ostream& out_;
  int position_ = 0;
};

}  // namespace

std::string ConsoleText(const std::string& text) { return NewlineBreaks(text); }

void ConsoleWindow::ShowMessage(const std::string& text) { err_ << ConsoleText(text) << std::endl; }

bool ConsoleWindow::AskYesNo(const std::string& text) {
  err_ << ConsoleText(text) << " — Да" << std::endl;
  return true;
}

void ConsoleWindow::SetGaugeProgress(int progress) { progress_ = std::clamp(progress, 0, std::max(max_, 0)); }

std::unique_ptr<SplashWindow> ConsoleSplash::CreateSplash() { return std::make_unique<SplashLines>(out_); }

void ConsoleDialog::ShowMessage(const std::string& text) { err_ << ConsoleText(text) << std::endl; }

bool ConsoleDialog::AskYesNo(const std::string& text) {
  err_ << ConsoleText(text) << " — Да" << std::endl;
  return true;
}

}  // namespace kv::console
