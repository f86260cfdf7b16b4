/*
** Message boxes, screen and splash in Qt.
*/
#include "views/qt/qt_desktop.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

#include "startup/register_log.h"
#include "startup/splash_form.h"
#include "views/qt/form_widgets.h"
#include "views/qt/gauge_widget.h"
#include "views/qt/qt_text.h"

namespace kv::qt {
namespace {

class QtSplashWindow final : public SplashWindow {
 public:
  QtSplashWindow() : widgets_(SplashForm(), &root_) {}
  void Show() override {
    CentreOnScreen(&root_);
    root_.show();
  }
  void Hide() override { root_.hide(); }
  void Repaint() override { root_.repaint(); }
  void SetGaugeMax(int max) override { Gauge()->SetMaximum(max); }
  int GaugePosition() const override { return Gauge()->Progress(); }
  void SetGaugePosition(int position) override {
    Gauge()->SetProgress(position);
    Gauge()->repaint();
  }
  void SetStatus(const std::string& text) override {
    auto* status = widgets_.Get<QLabel>("Label3");
    status->setText(Q(text));
    status->repaint();
  }

 private:
  GaugeWidget* Gauge() const { return widgets_.Get<GaugeWidget>("Gauge1"); }

  QWidget root_;
  FormWidgets widgets_;
};

}  // namespace

void QtDialog::ShowMessage(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, kApplicationTitle, MessageText(text), QMessageBox::Ok, parent_);
  box.setObjectName("MessageBox");
  box.exec();
}

bool QtDialog::AskYesNo(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, kApplicationTitle, MessageText(text), QMessageBox::Yes | QMessageBox::No,
                  parent_);
  box.setObjectName("MessageBox");
  return box.exec() == QMessageBox::Yes;
}

std::optional<ScreenSize> QtScreen::Size() {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return std::nullopt;
  const QSize size = screen->size();
  return ScreenSize{size.width(), size.height()};
}

std::unique_ptr<SplashWindow> QtSplashOperations::CreateSplash() { return std::make_unique<QtSplashWindow>(); }

void QtSplashOperations::PumpMessages() { QCoreApplication::processEvents(); }

bool QtSplashOperations::CtrlKeyHeld() {
  return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
}

}  // namespace kv::qt
