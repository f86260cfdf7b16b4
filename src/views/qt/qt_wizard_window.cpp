/*
** The wizard window's operations and events.
*/
#include "views/qt/qt_wizard_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QThread>
#include <QTimer>
#include <exception>

#include "views/qt/gauge_widget.h"
#include "views/qt/qt_news_window.h"
#include "views/qt/qt_text.h"
#include "wizard/wizard_forms.h"

namespace kv::qt {
namespace {

void Append(QPlainTextEdit* memo, const std::string& line) {
  memo->appendPlainText(Q(line));
  memo->verticalScrollBar()->setValue(memo->verticalScrollBar()->maximum());
  memo->repaint();
}

}  // namespace

QtWizardWindow::QtWizardWindow() : widgets_(WizardFormDescription(), this), dialog_(this) {
  widgets_.Get<QStackedWidget>("PageControl1")->setCurrentIndex(0);
  connect(widgets_.Get<QPushButton>("Button1"), &QPushButton::clicked, this,
          [this] { Handle(&WizardForm::Button1Click); });
  connect(widgets_.Get<QPushButton>("Button2"), &QPushButton::clicked, this,
          [this] { Handle(&WizardForm::Button2Click); });
  connect(widgets_.Get<QPushButton>("Button3"), &QPushButton::clicked, this,
          [this] { Handle(&WizardForm::Button3Click); });
  connect(widgets_.Get<QCheckBox>("CheckBox1"), &QCheckBox::clicked, this,
          [this] { Handle(&WizardForm::CheckBox1Click); });
  connect(widgets_.Get<QTimer>("Timer1"), &QTimer::timeout, this, [this] { Handle(&WizardForm::Timer1Timer); });
}

QtWizardWindow::~QtWizardWindow() {
  if (busy_) QApplication::restoreOverrideCursor();
}

void QtWizardWindow::ShowCentred() {
  CentreOnScreen(this);
  show();
  activateWindow();
}

void QtWizardWindow::Handle(void (WizardForm::*handler)()) {
  if (!form_) return;
  try {
    (form_->*handler)();
  } catch (const std::exception& e) {
    dialog_.ShowMessage(e.what());
  }
}

bool QtWizardWindow::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) Handle(&WizardForm::FormActivate);
  return QWidget::event(e);
}

void QtWizardWindow::closeEvent(QCloseEvent* e) {
  if (form_ && !form_->CanClose()) {
    e->ignore();
    return;
  }
  Handle(&WizardForm::FormClose);
  e->accept();
  if (onClosed) onClosed();
}

void QtWizardWindow::ShowPage(WizardPage page) {
  auto* pages = widgets_.Get<QStackedWidget>("PageControl1");
  pages->setCurrentIndex(static_cast<int>(page) - 1);
  pages->repaint();
}

WizardPage QtWizardWindow::CurrentPage() const {
  return static_cast<WizardPage>(widgets_.Get<QStackedWidget>("PageControl1")->currentIndex() + 1);
}

void QtWizardWindow::SetPanelCaption(const std::string& text) {
  auto* panel = widgets_.Get<QLabel>("Panel1");
  panel->setText(Q(text));
  panel->repaint();
}

void QtWizardWindow::SetWindowCaption(const std::string& text) { setWindowTitle(Q(text)); }

void QtWizardWindow::SetButton1Caption(const std::string& text) {
  widgets_.Get<QPushButton>("Button1")->setText(Q(text));
}
void QtWizardWindow::SetButton1Visible(bool visible) { widgets_.Get<QPushButton>("Button1")->setVisible(visible); }
void QtWizardWindow::SetButton1Enabled(bool enabled) { widgets_.Get<QPushButton>("Button1")->setEnabled(enabled); }
void QtWizardWindow::SetButton2Enabled(bool enabled) { widgets_.Get<QPushButton>("Button2")->setEnabled(enabled); }

std::string QtWizardWindow::Button3Caption() const { return Utf8(widgets_.Get<QPushButton>("Button3")->text()); }
void QtWizardWindow::SetButton3Caption(const std::string& text) {
  widgets_.Get<QPushButton>("Button3")->setText(Q(text));
}
int QtWizardWindow::Button3Width() const { return widgets_.Get<QPushButton>("Button3")->width(); }
void QtWizardWindow::SetButton3Width(int width) {
  auto* b = widgets_.Get<QPushButton>("Button3");
  b->resize(width, b->height());
}
void QtWizardWindow::SetButton3FontSize(int size) {
  auto* b = widgets_.Get<QPushButton>("Button3");
  QFont f = b->font();
  f.setPixelSize(form::PointsToPixels(size));
  b->setFont(f);
}
bool QtWizardWindow::Button3Bold() const { return widgets_.Get<QPushButton>("Button3")->font().bold(); }
void QtWizardWindow::SetButton3Bold(bool bold) {
  auto* b = widgets_.Get<QPushButton>("Button3");
  QFont f = b->font();
  f.setBold(bold);
  b->setFont(f);
  b->repaint();
}

bool QtWizardWindow::CheckBox1Checked() const { return widgets_.Get<QCheckBox>("CheckBox1")->isChecked(); }

void QtWizardWindow::KeepResponsive() {
  if (sincePump_.isValid() && sincePump_.elapsed() < 25) return;
  QCoreApplication::processEvents();
  sincePump_.start();
}

void QtWizardWindow::ZapisMemo1(const std::string& line) { Append(widgets_.Get<QPlainTextEdit>("Memo1"), line); }
void QtWizardWindow::ZapisMemo3(const std::string& line) {
  Append(widgets_.Get<QPlainTextEdit>("Memo3"), line);
  KeepResponsive();
}

void QtWizardWindow::ZapisLabel(const std::string& text) {
  auto* label = widgets_.Get<QLabel>("Label2");
  label->setText(Q(text));
  label->repaint();
  KeepResponsive();
}
void QtWizardWindow::SetLabel2Visible(bool visible) { widgets_.Get<QLabel>("Label2")->setVisible(visible); }

int QtWizardWindow::GaugeProgress() const { return widgets_.Get<GaugeWidget>("Gauge1")->Progress(); }
void QtWizardWindow::SetGaugeProgress(int progress) {
  auto* g = widgets_.Get<GaugeWidget>("Gauge1");
  g->SetProgress(progress);
  g->repaint();
  KeepResponsive();
}
int QtWizardWindow::GaugeMax() const { return widgets_.Get<GaugeWidget>("Gauge1")->Maximum(); }
void QtWizardWindow::SetGaugeMax(int max) { widgets_.Get<GaugeWidget>("Gauge1")->SetMaximum(max); }
void QtWizardWindow::SetGaugeVisible(bool visible) { widgets_.Get<GaugeWidget>("Gauge1")->setVisible(visible); }

void QtWizardWindow::SetBusyCursor(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void QtWizardWindow::PumpMessages() {
  QCoreApplication::processEvents();
  sincePump_.start();
}

void QtWizardWindow::Pause(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }

void QtWizardWindow::StartTimer1() { widgets_.Get<QTimer>("Timer1")->start(); }
void QtWizardWindow::StopTimer1() { widgets_.Get<QTimer>("Timer1")->stop(); }

void QtWizardWindow::ShowNewsWindow() {
  {
    QtNewsWindow news(this);
    news.exec();
  }
  // The wizard is active again once the news window has gone.
  activateWindow();
}

void QtWizardWindow::CloseWindow() { close(); }

}  // namespace kv::qt
