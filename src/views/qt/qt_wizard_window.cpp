/*
** The wizard window's operations and events.
*/
#include "views/qt/qt_wizard_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QThread>
#include <QTimer>

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

QtWizardWindow::QtWizardWindow()
    : widgets_(WizardFormDescription(), this), dialog_(this), pump_([] { QCoreApplication::processEvents(); }) {
  widgets_.Get<QStackedWidget>("PageControl1")->setCurrentIndex(0);
  for (const ClickTable::Entry& entry : events_.Clicks().Entries()) {
    const std::string_view name = entry.element;
    if (auto* timer = dynamic_cast<QTimer*>(widgets_.Get<QObject>(name)))
      connect(timer, &QTimer::timeout, this, [this, name] { events_.Clicked(name); });
    else
      connect(widgets_.Get<QAbstractButton>(name), &QAbstractButton::clicked, this,
              [this, name] { events_.Clicked(name); });
  }
}

QtWizardWindow::~QtWizardWindow() {
  if (busy_) QApplication::restoreOverrideCursor();
}

void QtWizardWindow::ShowCentred() {
  CentreOnScreen(this);
  show();
  activateWindow();
}

void QtWizardWindow::RunUntilClosed() {
  QEventLoop loop;
  loop_ = &loop;
  loop.exec();
  loop_ = nullptr;
}

bool QtWizardWindow::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) events_.Activated();
  return QWidget::event(e);
}

void QtWizardWindow::closeEvent(QCloseEvent* e) {
  if (!events_.CloseRequested()) {
    e->ignore();
    return;
  }
  e->accept();
  if (loop_) loop_->quit();
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

void QtWizardWindow::ZapisMemo1(const std::string& line) { Append(widgets_.Get<QPlainTextEdit>("Memo1"), line); }
void QtWizardWindow::ZapisMemo3(const std::string& line) {
  Append(widgets_.Get<QPlainTextEdit>("Memo3"), line);
  pump_.KeepResponsive();
}

void QtWizardWindow::ZapisLabel(const std::string& text) {
  auto* label = widgets_.Get<QLabel>("Label2");
  label->setText(Q(text));
  label->repaint();
  pump_.KeepResponsive();
}
void QtWizardWindow::SetLabel2Visible(bool visible) { widgets_.Get<QLabel>("Label2")->setVisible(visible); }

int QtWizardWindow::GaugeProgress() const { return widgets_.Get<GaugeWidget>("Gauge1")->Progress(); }
void QtWizardWindow::SetGaugeProgress(int progress) {
  auto* g = widgets_.Get<GaugeWidget>("Gauge1");
  g->SetProgress(progress);
  g->repaint();
  pump_.KeepResponsive();
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

void QtWizardWindow::PumpMessages() { pump_.PumpNow(); }

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
