/*
** A wizard window for tests: keeps the state a real window would show and
** records every visible event in order ("memo3: ...", "label: ...",
** "message: ...", "pause: 50", "gauge: 12", "page: 2", ...).
** The gauge keeps its position between 0 and its maximum like Gauge1.
*/
#pragma once

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "wizard/wizard_window.h"

namespace kv::test {

class RecordingWindow : public WizardWindow {
 public:
  void ShowMessage(const std::string& text) override {
    messages.push_back(text);
    Record("message: " + text);
  }
  bool AskYesNo(const std::string& text) override {
    Record("question: " + text);
    if (answers.empty()) return true;
    bool a = answers.front();
    answers.pop_front();
    return a;
  }

  void ShowPage(WizardPage p) override {
    page = p;
    Record("page: " + std::to_string(static_cast<int>(p)));
  }
  WizardPage CurrentPage() const override { return page; }
  void SetPanelCaption(const std::string& text) override { panelCaption = text; }
  void SetWindowCaption(const std::string& text) override { windowCaption = text; }

  void SetButton1Caption(const std::string& text) override { button1Caption = text; }
  void SetButton1Visible(bool v) override { button1Visible = v; }
  void SetButton1Enabled(bool e) override { button1Enabled = e; }

  void SetButton2Enabled(bool e) override { button2Enabled = e; }

  std::string Button3Caption() const override { return button3Caption; }
  void SetButton3Caption(const std::string& text) override { button3Caption = text; }
  int Button3Width() const override { return button3Width; }
  void SetButton3Width(int w) override { button3Width = w; }
  void SetButton3FontSize(int s) override { button3FontSize = s; }
  bool Button3Bold() const override { return button3Bold; }
  void SetButton3Bold(bool b) override { button3Bold = b; }

  bool CheckBox1Checked() const override { return checkBox1; }

  void ZapisMemo1(const std::string& line) override { memo1.push_back(line); }
  void ZapisMemo3(const std::string& line) override {
    memo3.push_back(line);
    Record("memo3: " + line);
  }
  void ZapisLabel(const std::string& text) override {
    label = text;
    Record("label: " + text);
  }
  void SetLabel2Visible(bool v) override { label2Visible = v; }

  int GaugeProgress() const override { return progress; }
  void SetGaugeProgress(int p) override {
    progress = std::clamp(p, 0, std::max(gaugeMax, 0));
    Record("gauge: " + std::to_string(progress));
  }
  int GaugeMax() const override { return gaugeMax; }
  void SetGaugeMax(int m) override { gaugeMax = m; }
  void SetGaugeVisible(bool v) override { gaugeVisible = v; }

  void SetBusyCursor(bool b) override {
    busy = b;
    Record(b ? "busy: on" : "busy: off");
  }
  void PumpMessages() override { ++pumps; }
  void Pause(int ms) override {
    pauses.push_back(ms);
    Record("pause: " + std::to_string(ms));
  }
  void StartTimer1() override { timer1Running = true; }
  void StopTimer1() override { timer1Running = false; }
  void ShowNewsWindow() override { Record("news window"); }
  void CloseWindow() override {
    closed = true;
    Record("close");
  }

  /* Events that start with prefix, in order. */
  std::vector<std::string> EventsStartingWith(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& e : events)
      if (e.rfind(prefix, 0) == 0) out.push_back(e);
    return out;
  }

  // State as a real window would show it.
  WizardPage page = WizardPage::Start;
  std::string panelCaption, windowCaption;
  std::string button1Caption = "Далее >";
  bool button1Visible = true, button1Enabled = true;
  bool button2Enabled = true;
  std::string button3Caption = "Новости";
  int button3Width = 75, button3FontSize = 8;
  bool button3Bold = false;
  bool checkBox1 = false;
  std::vector<std::string> memo1, memo3;
  std::string label = "............";
  bool label2Visible = true;
  int progress = 0, gaugeMax = 100;
  bool gaugeVisible = true;
  bool busy = false;
  int pumps = 0;
  bool timer1Running = false;
  bool closed = false;

  std::vector<std::string> messages;
  std::vector<int> pauses;
  std::vector<std::string> events;
  std::deque<bool> answers;  // for AskYesNo; Yes when empty

 private:
  void Record(std::string e) { events.push_back(std::move(e)); }
};

}  // namespace kv::test
