/*
** The news window TFormUpgrade2 on Windows: a window owned by the wizard,
** shown modally, whose TabControl1 selects the group and whose Memo1 lists
** it, driven by NewsForm.
*/
#pragma once

#include <span>

#include "views/win32/form_window.h"
#include "wizard/news.h"

namespace kv::win32 {

class Win32NewsWindow final : public NewsView, private FormEvents {
 public:
  /* Builds the window over owner and fills it (the "SP 5" group first). */
  explicit Win32NewsWindow(HWND owner, std::span<const NewsEntry> table = NewsTable());

  /* Shows the window and processes messages until it is closed. A WM_QUIT
  ** ends the loop too and stays queued for the program's own loop. */
  void RunModal();

  const FormWindow& Form() const { return window_; }

  void SetTabs(const std::vector<std::string>& captions) override;
  void SelectTab(std::size_t index) override;
  std::string SelectedTabCaption() const override;
  void ClearMemo() override;
  void AppendMemoLine(const std::string& line) override;

 private:
  void TabChanged(std::string_view) override {
    form_.TabControl1Change();
    ShowTop();
  }
  void EscapePressed() override { ::SendMessageW(window_.Root(), WM_CLOSE, 0, 0); }
  /* The group is read from its first line. */
  void ShowTop();

  FormWindow window_;
  NewsForm form_;
};

}  // namespace kv::win32
