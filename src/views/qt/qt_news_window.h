/*
** The news window TFormUpgrade2 in Qt: a modal dialog whose TabControl1
** selects the group and whose Memo1 lists it, driven by NewsForm.
*/
#pragma once

#include <QDialog>
#include <span>

#include "views/qt/form_widgets.h"
#include "wizard/news.h"

namespace kv::qt {

class QtNewsWindow final : public QDialog, public NewsView {
 public:
  explicit QtNewsWindow(QWidget* parent, std::span<const NewsEntry> table = NewsTable());

  void SetTabs(const std::vector<std::string>& captions) override;
  void SelectTab(std::size_t index) override;
  std::string SelectedTabCaption() const override;
  void ClearMemo() override;
  void AppendMemoLine(const std::string& line) override;

  const FormWidgets& Widgets() const { return widgets_; }

 private:
  FormWidgets widgets_;
  NewsForm form_;
  bool filling_ = false;  // tabs being replaced: no change events yet
};

}  // namespace kv::qt
