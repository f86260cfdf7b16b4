/*
** The news window's controls and events on Windows.
*/
#include "views/win32/news_window.h"

#include <commctrl.h>

#include "views/win32/wizard_window.h"
#include "wizard/wizard_forms.h"

namespace kv::win32 {

Win32NewsWindow::Win32NewsWindow(HWND owner, std::span<const NewsEntry> table)
    : window_(NewsFormDescription(), *this, owner), form_(*this, table) {
  form_.FormCreate();
  ShowTop();
}

void Win32NewsWindow::ShowTop() {
  HWND memo = window_.Get("Memo1");
  ::SendMessageW(memo, EM_SETSEL, 0, 0);
  ::SendMessageW(memo, EM_SCROLLCARET, 0, 0);
}

void Win32NewsWindow::RunModal() {
  window_.ShowCentred();
  window_.RunUntilClosed();
}

void Win32NewsWindow::SetTabs(const std::vector<std::string>& captions) {
  HWND tabs = window_.TabStrip("TabControl1");
  TabCtrl_DeleteAllItems(tabs);
  for (std::size_t i = 0; i < captions.size(); ++i) {
    std::wstring text = Wide(captions[i]);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    ::SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  // The strip's height follows its tabs.
  window_.Relayout("TabControl1");
}

void Win32NewsWindow::SelectTab(std::size_t index) {
  // Selecting by message sends no change notification: the form lists the tab itself.
  TabCtrl_SetCurSel(window_.TabStrip("TabControl1"), static_cast<int>(index));
}

std::string Win32NewsWindow::SelectedTabCaption() const {
  HWND tabs = window_.TabStrip("TabControl1");
  const int selected = TabCtrl_GetCurSel(tabs);
  if (selected < 0) return {};
  wchar_t text[128] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = 128;
  ::SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&item));
  return Utf8(item.pszText);
}

void Win32NewsWindow::ClearMemo() { ::SetWindowTextW(window_.Get("Memo1"), L""); }

void Win32NewsWindow::AppendMemoLine(const std::string& line) { AppendLine(window_.Get("Memo1"), line, false); }

}  // namespace kv::win32
