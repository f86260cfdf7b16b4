// Screenshots of the Windows program's windows as PNG files: the window's
// rectangle read off the screen (Wine draws real windows on an X display).
#pragma once

#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/wide.h"
#include "views/win32/form_window.h"
#include "wine_test_support.h"

namespace kv::test {

namespace png {

inline void Chunk(std::string& out, const char* type, const std::string& data) {
  auto be32 = [&](std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xff);
  };
  be32(static_cast<std::uint32_t>(data.size()));
  const std::string typed = std::string(type, 4) + data;
  out += typed;
  be32(static_cast<std::uint32_t>(
      ::crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()))));
}

/* An 8-bit RGB image, rows top down, as a PNG file. */
inline bool Write(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb) {
  std::string raw;
  raw.reserve(static_cast<std::size_t>(height) * (1 + 3 * width));
  for (int y = 0; y < height; ++y) {
    raw += '\0';  // no filter
    raw.append(reinterpret_cast<const char*>(rgb.data()) + static_cast<std::size_t>(y) * 3 * width, 3 * width);
  }
  uLongf size = ::compressBound(static_cast<uLong>(raw.size()));
  std::string packed(size, '\0');
  if (::compress2(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
                  static_cast<uLong>(raw.size()), 9) != Z_OK)
    return false;
  packed.resize(size);
  std::string header;
  for (int v : {width, height}) {
    for (int shift = 24; shift >= 0; shift -= 8) header += static_cast<char>((v >> shift) & 0xff);
  }
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter set, no interlace
  std::string file = "\x89PNG\r\n\x1a\n";
  Chunk(file, "IHDR", header);
  Chunk(file, "IDAT", packed);
  Chunk(file, "IEND", "");
  std::ofstream f(std::filesystem::path(win32::Wide(path)), std::ios::binary);
  return static_cast<bool>(f.write(file.data(), static_cast<std::streamsize>(file.size())));
}

}  // namespace png

/* An 8-bit RGB image, rows top down. */
struct Image {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;
};

/* What the screen shows of window w's client area (the frame belongs to the
** window manager, which the test display lacks); nullopt when it cannot be
** read. redraw: have the window paint itself first, which only a window of
** this process (or one that answers at once) should be asked. */
inline std::optional<Image> CaptureClient(HWND w, bool redraw = true) {
  if (redraw) ::RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  // What the window drew reaches the display a little later.
  for (int i = 0; i < 20; ++i) {
    win32::PumpPendingMessages();
    ::Sleep(10);
  }
  RECT r;
  if (!::GetClientRect(w, &r)) return std::nullopt;
  ::MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&r), 2);
  Image image{r.right - r.left, r.bottom - r.top, {}};
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), image.width, -image.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  const bool copied = ::BitBlt(memory, 0, 0, image.width, image.height, screen, r.left, r.top, SRCCOPY);
  const std::size_t pixels = static_cast<std::size_t>(image.width) * image.height;
  image.rgb.resize(pixels * 3);
  const auto* bgra = static_cast<const std::uint8_t*>(bits);
  for (std::size_t i = 0; copied && i < pixels; ++i) {
    image.rgb[3 * i] = bgra[4 * i + 2];
    image.rgb[3 * i + 1] = bgra[4 * i + 1];
    image.rgb[3 * i + 2] = bgra[4 * i];
  }
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  if (!copied) return std::nullopt;
  return image;
}

/* Saves image as KV_SCREENSHOT_DIR/name.png; false when it cannot be written. */
inline bool SaveScreenshot(const Image& image, const std::string& name) {
  const std::string dir = WinPath(KV_SCREENSHOT_DIR);
  ::CreateDirectoryW(win32::Wide(dir).c_str(), nullptr);
  return png::Write(dir + "\\" + name + ".png", image.width, image.height, image.rgb);
}

/* Saves what the screen shows of window w's client area as
** KV_SCREENSHOT_DIR/name.png. False when the window cannot be read or the
** file written. */
inline bool Screenshot(HWND w, const std::string& name) {
  const std::optional<Image> image = CaptureClient(w);
  return image && SaveScreenshot(*image, name);
}

}  // namespace kv::test
