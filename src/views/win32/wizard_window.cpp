/*
** The wizard window's operations and events on Windows.
*/
#include "views/win32/wizard_window.h"

#include "platform/scope_exit.h"
#include "views/win32/gauge.h"
#include "views/win32/news_window.h"
#include "wizard/wizard_forms.h"

namespace kv::win32 {

void AppendLine(HWND memo, const std::string& line, bool scroll) {
  const int end = ::GetWindowTextLengthW(memo);
  const std::wstring text = (end > 0 ? L"\r\n" : L"") + WindowsText(line);
  ::SendMessageW(memo, EM_SETSEL, end, end);
  ::SendMessageW(memo, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
  if (scroll) ::SendMessageW(memo, EM_SCROLLCARET, 0, 0);
  ::UpdateWindow(memo);
}

Win32WizardWindow::Win32WizardWindow()
    : window_(WizardFormDescription(), *this), dialog_([this] { return window_.Root(); }) {}

void Win32WizardWindow::Show(std::string_view element, bool visible) {
  if (window_.Open()) ::ShowWindow(window_.Get(element), visible ? SW_SHOW : SW_HIDE);
}

void Win32WizardWindow::Destroyed() {
  busy_ = false;
}

void Win32WizardWindow::ShowPage(WizardPage page) {
  page_ = page;
  Show("TabSheet1", page == WizardPage::Start);
  Show("TabSheet2", page == WizardPage::Agreement);
  Show("TabSheet3", page == WizardPage::Install);
  if (window_.Open()) ::UpdateWindow(window_.Get("PageControl1"));
}

void Win32WizardWindow::SetPanelCaption(const std::string& text) {
  if (!window_.Open()) return;
  HWND panel = window_.Get("Panel1");
  ::SetWindowTextW(panel, Wide(text).c_str());
  ::UpdateWindow(panel);
}

void Win32WizardWindow::SetWindowCaption(const std::string& text) {
  if (window_.Open()) ::SetWindowTextW(window_.Root(), Wide(text).c_str());
}

void Win32WizardWindow::SetButton1Caption(const std::string& text) {
  if (window_.Open()) ::SetWindowTextW(window_.Get("Button1"), Wide(text).c_str());
}
void Win32WizardWindow::SetButton1Visible(bool visible) { Show("Button1", visible); }
void Win32WizardWindow::SetButton1Enabled(bool enabled) {
  if (window_.Open()) ::EnableWindow(window_.Get("Button1"), enabled);
}
void Win32WizardWindow::SetButton2Enabled(bool enabled) {
  if (window_.Open()) ::EnableWindow(window_.Get("Button2"), enabled);
}

std::string Win32WizardWindow::Button3Caption() const {
  return window_.Open() ? WindowText(window_.Get("Button3")) : std::string();
}
void Win32WizardWindow::SetButton3Caption(const std::string& text) {
  if (window_.Open()) ::SetWindowTextW(window_.Get("Button3"), Wide(text).c_str());
}
int Win32WizardWindow::Button3Width() const {
  if (!window_.Open()) return 0;
  RECT r;
  ::GetWindowRect(window_.Get("Button3"), &r);
  return window_.ToDesign(r.right - r.left);
}
void Win32WizardWindow::SetButton3Width(int width) {
  if (!window_.Open()) return;
  HWND b = window_.Get("Button3");
  RECT r;
  ::GetWindowRect(b, &r);
  ::SetWindowPos(b, nullptr, 0, 0, window_.ToPixels(width), r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
void Win32WizardWindow::SetButton3FontSize(int size) {
  form::Font f = window_.FontOf("Button3");
  f.pixels = form::PointsToPixels(size);
  window_.SetFont("Button3", f);
}
bool Win32WizardWindow::Button3Bold() const { return window_.FontOf("Button3").bold; }
void Win32WizardWindow::SetButton3Bold(bool bold) {
  form::Font f = window_.FontOf("Button3");
  f.bold = bold;
  window_.SetFont("Button3", f);
  if (window_.Open()) ::UpdateWindow(window_.Get("Button3"));
}

bool Win32WizardWindow::CheckBox1Checked() const {
  return window_.Open() && ::SendMessageW(window_.Get("CheckBox1"), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32WizardWindow::ZapisMemo1(const std::string& line) {
  if (window_.Open()) AppendLine(window_.Get("Memo1"), line);
}
void Win32WizardWindow::ZapisMemo3(const std::string& line) {
  if (!window_.Open()) return;
  AppendLine(window_.Get("Memo3"), line);
  pump_.KeepResponsive();
}

void Win32WizardWindow::ZapisLabel(const std::string& text) {
  if (!window_.Open()) return;
  HWND label = window_.Get("Label2");
  ::SetWindowTextW(label, Wide(text).c_str());
  ::UpdateWindow(label);
  pump_.KeepResponsive();
}
void Win32WizardWindow::SetLabel2Visible(bool visible) { Show("Label2", visible); }

int Win32WizardWindow::GaugeProgress() const { return window_.Open() ? win32::GaugeProgress(window_.Get("Gauge1")) : 0; }
void Win32WizardWindow::SetGaugeProgress(int progress) {
  if (!window_.Open()) return;
  win32::SetGaugeProgress(window_.Get("Gauge1"), progress);
  pump_.KeepResponsive();
}
int Win32WizardWindow::GaugeMax() const { return window_.Open() ? GaugeMaximum(window_.Get("Gauge1")) : 0; }
void Win32WizardWindow::SetGaugeMax(int max) {
  if (window_.Open()) SetGaugeMaximum(window_.Get("Gauge1"), max);
}
void Win32WizardWindow::SetGaugeVisible(bool visible) { Show("Gauge1", visible); }

void Win32WizardWindow::SetBusyCursor(bool busy) {
  busy_ = busy;
  ::SetCursor(::LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void Win32WizardWindow::PumpMessages() { pump_.PumpNow(); }

void Win32WizardWindow::Pause(int ms) { ::Sleep(static_cast<DWORD>(ms)); }

void Win32WizardWindow::ShowNewsWindow() {
  HWND owner = window_.Root();
  ::EnableWindow(owner, FALSE);
  ScopeExit reenable([owner] { ::EnableWindow(owner, TRUE); });
  {
    Win32NewsWindow news(owner);
    news.RunModal();
    // Enabled before the news window goes, so that the wizard, not another
    // program, becomes the active window again.
    ::EnableWindow(owner, TRUE);
  }
  if (window_.Open()) ::SetActiveWindow(owner);
}

void Win32WizardWindow::CloseWindow() {
  if (window_.Open()) ::SendMessageW(window_.Root(), WM_CLOSE, 0, 0);
}

}  // namespace kv::win32
