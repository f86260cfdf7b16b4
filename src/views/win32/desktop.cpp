/*
** Message boxes, screen, splash and console on Windows.
*/
#include "views/win32/desktop.h"

#include "startup/register_log.h"
#include "startup/splash_form.h"
#include "views/win32/form_window.h"
#include "views/win32/gauge.h"

namespace kv::win32 {

class Win32SplashWindow final : public SplashWindow, private FormEvents {
 public:
  explicit Win32SplashWindow(Win32SplashOperations& ops) : ops_(ops), form_(SplashForm(), *this) {
    ops_.splash_ = this;
  }
  ~Win32SplashWindow() override {
    if (ops_.splash_ == this) ops_.splash_ = nullptr;
  }
  FormWindow& Form() { return form_; }
  void Show() override { form_.ShowCentred(); }
  void Hide() override {
    if (form_.Open()) ::ShowWindow(form_.Root(), SW_HIDE);
  }
  void Repaint() override {
    if (!form_.Open()) return;
    ::RedrawWindow(form_.Root(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  void SetGaugeMax(int max) override { SetGaugeMaximum(form_.Get("Gauge1"), max); }
  int GaugePosition() const override { return GaugeProgress(form_.Get("Gauge1")); }
  void SetGaugePosition(int position) override { SetGaugeProgress(form_.Get("Gauge1"), position); }
  void SetStatus(const std::string& text) override {
    HWND status = form_.Get("Label3");
    ::SetWindowTextW(status, Wide(text).c_str());
    ::UpdateWindow(status);
  }

 private:
  // The splash cannot be closed by the operator: it goes when the checks end.
  bool CloseRequested() override { return false; }

  Win32SplashOperations& ops_;
  FormWindow form_;
};

namespace {

int Box(HWND owner, const std::string& text, UINT buttons) {
  return ::MessageBoxW(owner, WindowsText(text).c_str(), Wide(kApplicationTitle).c_str(), buttons | MB_SETFOREGROUND);
}

}  // namespace

void Win32Dialog::ShowMessage(const std::string& text) { Box(owner_ ? owner_() : nullptr, text, MB_OK); }

bool Win32Dialog::AskYesNo(const std::string& text) {
  return Box(owner_ ? owner_() : nullptr, text, MB_YESNO) == IDYES;
}

std::optional<ScreenSize> Win32Screen::Size() {
  return ScreenSize{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

std::unique_ptr<SplashWindow> Win32SplashOperations::CreateSplash() {
  return std::make_unique<Win32SplashWindow>(*this);
}

void Win32SplashOperations::PumpMessages() {
  if (splash_) splash_->Form().PumpPending();
  else PumpPendingMessages();
}

HWND ProgramWindow() {
  HWND found = nullptr;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND w, LPARAM out) {
        if (!::IsWindowVisible(w) || ::GetWindow(w, GW_OWNER)) return TRUE;
        *reinterpret_cast<HWND*>(out) = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND Win32SplashOperations::Window() const { return splash_ ? splash_->Form().Root() : nullptr; }

bool Win32SplashOperations::CtrlKeyHeld() { return (::GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0; }

void ReleaseOwnConsole() {
  DWORD processes[2];
  if (::GetConsoleProcessList(processes, 2) == 1) ::FreeConsole();
}

}  // namespace kv::win32
