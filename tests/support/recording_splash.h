/*
** The splash operations for tests: the splash's state as a real window would
** show it, and every visible change in the journal ("splash: create",
** "splash: status: ...", "splash: gauge: 2", "splash: hide", "splash: destroy").
*/
#pragma once

#include <memory>
#include <string>

#include "startup/splash.h"
#include "support/journal.h"

namespace kv::test {

class RecordingSplash final : public SplashOperations {
 public:
  explicit RecordingSplash(Journal& journal) : journal_(journal) {}

  std::unique_ptr<SplashWindow> CreateSplash() override {
    ++created;
    Record("create");
    return std::make_unique<Window>(*this);
  }
  void PumpMessages() override { Record("pump"); }
  bool CtrlKeyHeld() override { return ctrlHeld; }

  bool ctrlHeld = false;
  // The window as it looks (exists while a Window object lives).
  int created = 0;
  bool exists = false, visible = false;
  int gaugeMax = 0, gauge = 0;
  std::string status;

 private:
  class Window final : public SplashWindow {
   public:
    explicit Window(RecordingSplash& owner) : o_(owner) {
      o_.exists = true;
      o_.gauge = 0;
      o_.status = "...";  // design text
    }
    ~Window() override {
      o_.exists = o_.visible = false;
      o_.Record("destroy");
    }
    void Show() override {
      o_.visible = true;
      o_.Record("show");
    }
    void Hide() override {
      o_.visible = false;
      o_.Record("hide");
    }
    void Repaint() override { o_.Record("repaint"); }
    void SetGaugeMax(int max) override {
      o_.gaugeMax = max;
      o_.Record("gauge max: " + std::to_string(max));
    }
    int GaugePosition() const override { return o_.gauge; }
    void SetGaugePosition(int position) override {
      o_.gauge = position;
      o_.Record("gauge: " + std::to_string(position));
    }
    void SetStatus(const std::string& text) override {
      o_.status = text;
      o_.Record("status: " + text);
    }

   private:
    RecordingSplash& o_;
  };

  void Record(const std::string& e) { journal_.push_back("splash: " + e); }
  Journal& journal_;
};

}  // namespace kv::test
