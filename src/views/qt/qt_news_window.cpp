/*
** The news window's widgets and events.
*/
#include "views/qt/qt_news_window.h"

#include <QPlainTextEdit>
#include <QTabBar>

#include "views/qt/qt_text.h"
#include "wizard/wizard_forms.h"

namespace kv::qt {

QtNewsWindow::QtNewsWindow(QWidget* parent, std::span<const NewsEntry> table)
    : QDialog(parent), widgets_(NewsFormDescription(), this), form_(*this, table) {
  setModal(true);
  QTabBar* tabs = widgets_.Get<TabControlWidget>("TabControl1")->Tabs();
  connect(tabs, &QTabBar::currentChanged, this, [this] {
    if (!filling_) form_.TabControl1Change();
  });
  form_.FormCreate();
  CentreOnScreen(this);
  widgets_.Get<QPlainTextEdit>("Memo1")->setFocus();
}

void QtNewsWindow::SetTabs(const std::vector<std::string>& captions) {
  QTabBar* tabs = widgets_.Get<TabControlWidget>("TabControl1")->Tabs();
  filling_ = true;
  while (tabs->count() > 0) tabs->removeTab(0);
  for (const std::string& c : captions) tabs->addTab(Q(c));
  filling_ = false;
}

void QtNewsWindow::SelectTab(std::size_t index) {
  QTabBar* tabs = widgets_.Get<TabControlWidget>("TabControl1")->Tabs();
  filling_ = true;  // the form lists the tab itself after selecting it
  tabs->setCurrentIndex(static_cast<int>(index));
  filling_ = false;
}

std::string QtNewsWindow::SelectedTabCaption() const {
  QTabBar* tabs = widgets_.Get<TabControlWidget>("TabControl1")->Tabs();
  return Utf8(tabs->tabText(tabs->currentIndex()));
}

void QtNewsWindow::ClearMemo() { widgets_.Get<QPlainTextEdit>("Memo1")->clear(); }

void QtNewsWindow::AppendMemoLine(const std::string& line) {
  widgets_.Get<QPlainTextEdit>("Memo1")->appendPlainText(Q(line));
}

}  // namespace kv::qt
