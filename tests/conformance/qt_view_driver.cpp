/*
** The conformance suite's driver of the Qt views: real mouse clicks and key
** presses on the offscreen platform, modal windows found among the visible
** top-level widgets while their loop runs.
**
** Qt cannot be made to fail a window's creation from outside (no hook sits
** between a widget's construction and the platform), so RefuseNewsWindows
** answers false and that check is left to the native views.
*/
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>

#include "conformance/view_driver.h"
#include "platform/posix/reg_file_registry.h"
#include "support/temp_dir.h"
#include "views/qt/form_widgets.h"
#include "views/qt/qt_news_window.h"
#include "views/qt/qt_wizard_window.h"
#include "views/qt_test_support.h"

namespace kv::test {
namespace {

class QtViewDriver final : public ViewDriver {
 public:
  ~QtViewDriver() override { StopWatching(); }

  std::string FreshFolder() override { return dir_.Path(); }
  char Separator() const override { return '/'; }
  Registry& UserRegistry() override { return registry_; }
  std::string ProgramPath() const override { return KV_UPGRADE_EXE; }

  WizardWindow& Window() override { return window_; }
  void Attach(WizardForm& form) override { window_.Attach(form); }
  void Show() override {
    window_.ShowCentred();
    QTest::qWait(50);
  }
  void Click(const char* element) override { test::Click(Find<QWidget>(&window_, element)); }
  bool Enabled(const char* element) override { return Find<QWidget>(&window_, element)->isEnabled(); }
  bool Visible(const char* element) override { return Find<QWidget>(&window_, element)->isVisible(); }
  std::string Text(const char* element) override {
    QObject* o = window_.findChild<QObject*>(element);
    if (auto* memo = dynamic_cast<QPlainTextEdit*>(o)) return memo->toPlainText().toStdString();
    if (auto* label = dynamic_cast<QLabel*>(o)) return label->text().toStdString();
    if (auto* button = dynamic_cast<QAbstractButton*>(o)) return button->text().toStdString();
    ADD_FAILURE() << "no text element " << element;
    return {};
  }
  std::string Title() override { return window_.windowTitle().toStdString(); }
  int ClientWidth() override { return window_.width(); }
  int ClientHeight() override { return window_.height(); }
  std::vector<std::string> TabOrder() override {
    std::vector<std::string> order;
    QWidget* start = Find<QWidget>(&window_, "Button2");
    for (QWidget* w = start->nextInFocusChain(); w && w != start && order.size() < 50; w = w->nextInFocusChain())
      if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(&window_) && w->isEnabled() && w->window() == &window_)
        order.push_back(w->objectName().toStdString());
    return order;
  }
  void PressEscape(const char* element) override {
    QWidget* w = Find<QWidget>(&window_, element);
    w->setFocus();
    QTest::keyClick(w, Qt::Key_Escape);
    QTest::qWait(20);
  }
  bool Closed() override { return !window_.isVisible(); }
  void RunWithClick(const char* element) override {
    QTimer::singleShot(0, &window_, [this, element] { Click(element); });
    window_.RunUntilClosed();
  }
  void Wait(int ms) override { QTest::qWait(ms); }
  void Screenshot(const std::string& name) override {
    // Qt's finished wizard is the end-to-end run's shot (wizard-5-finished), taken over a real run.
    if (name != "wizard-4-finished") test::Screenshot(&window_, name);
  }
  void ActivateAnotherWindow() override {
    other_ = std::make_unique<QWidget>();
    other_->resize(50, 50);
    other_->show();
    other_->activateWindow();
    QTest::qWait(20);
  }

  void WhenModal(Modal kind, std::function<void()> act) override {
    StopWatching();
    seen_ = false;
    modal_ = nullptr;
    poll_ = new QTimer;
    poll_->setInterval(20);
    QObject::connect(poll_, &QTimer::timeout, [this, kind, act] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        const bool wanted = kind == Modal::News ? dynamic_cast<qt::QtNewsWindow*>(w) != nullptr
                                                : dynamic_cast<QMessageBox*>(w) != nullptr;
        if (!wanted || !w->isVisible()) continue;
        StopWatching();
        seen_ = true;
        modal_ = w;
        act();
        return;
      }
    });
    poll_->start();
  }
  bool ModalSeen() override { return seen_; }
  bool WizardBlocked() override {
    QWidget* m = QApplication::activeModalWidget();
    return m && m != &window_ && m->isVisible();
  }
  BoxSeen ReadBox() override {
    auto* box = dynamic_cast<QMessageBox*>(modal_);
    if (!box) return {};
    return {box->text().toStdString(), static_cast<int>(box->buttons().size()), box->icon() != QMessageBox::NoIcon,
            box->parentWidget() == &window_};
  }
  void AnswerBox(bool yes) override {
    auto* box = dynamic_cast<QMessageBox*>(modal_);
    QAbstractButton* b = box->button(QMessageBox::Ok);
    if (!b) b = box->button(yes ? QMessageBox::Yes : QMessageBox::No);
    b->click();
  }
  void ScreenshotModal(const std::string& name) override { test::Screenshot(modal_, name); }
  std::vector<std::string> NewsTabs() override {
    std::vector<std::string> tabs;
    QTabBar* bar = NewsBar();
    for (int i = 0; i < bar->count(); ++i) tabs.push_back(bar->tabText(i).toStdString());
    return tabs;
  }
  void PickNewsTab(int index) override {
    QTabBar* bar = NewsBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
  }
  std::string NewsPage() override {
    QTabBar* bar = NewsBar();
    return bar->tabText(bar->currentIndex()).toStdString() + "|" + MemoText(modal_, "Memo1");
  }
  void CloseNews() override { modal_->close(); }
  void PressEscapeInNews() override {
    QWidget* target = QApplication::focusWidget() && QApplication::focusWidget()->window() == modal_
                          ? QApplication::focusWidget()
                          : modal_;
    QTest::keyClick(target, Qt::Key_Escape);
    escapeClosed_ = !modal_->isVisible();
    if (!escapeClosed_) modal_->close();
  }
  bool EscapeClosedNews() override { return escapeClosed_; }
  bool RefuseNewsWindows(bool) override { return false; }

 private:
  QTabBar* NewsBar() { return Find<qt::TabControlWidget>(modal_, "TabControl1")->Tabs(); }
  void StopWatching() {
    if (!poll_) return;
    poll_->stop();
    poll_->deleteLater();
    poll_ = nullptr;
  }

  TempDir dir_;
  RegFileRegistry registry_{dir_ / "registry.reg"};
  qt::QtWizardWindow window_;
  std::unique_ptr<QWidget> other_;
  QTimer* poll_ = nullptr;
  QWidget* modal_ = nullptr;
  bool seen_ = false;
  bool escapeClosed_ = false;
};

}  // namespace

std::unique_ptr<ViewDriver> OpenViewDriver() { return std::make_unique<QtViewDriver>(); }

}  // namespace kv::test
