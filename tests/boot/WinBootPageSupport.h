// The boot screen page hosted in a window of the test's thread (with the page tests' doubles for
// messages and choosers), and the pixels of a window's client area as the screen shows them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "boot/ui/BootScreenPage.h"
#include "core/PVoptionData.h"
#include "tests/pages/PageTestSupport.h"

namespace qvtest {

class HostedBootPage {
 public:
  explicit HostedBootPage(const qv::PVoptionData& live, int width = 700, int height = 520) {
    host_ = CreateWindowExA(0, "STATIC", "Quorvex boot page test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                            0, width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    page_ = std::make_unique<qv::BootScreenPage>(TestPageServices());
    if (!page_->Create(host_, live)) return;
    page_->Localize();
    page_->Load();
    Fit();
    ShowWindow(page_->Handle(), SW_SHOW);
    UpdateWindow(host_);
  }
  ~HostedBootPage() {
    page_.reset();
    if (host_) DestroyWindow(host_);
  }
  HostedBootPage(const HostedBootPage&) = delete;
  HostedBootPage& operator=(const HostedBootPage&) = delete;

  qv::BootScreenPage& page() { return *page_; }
  HWND Host() const { return host_; }
  HWND Window() const { return page_->Handle(); }
  const widgets::ListView& List() const { return page_->List(); }
  // The page takes the host's whole client area.
  void Fit() const {
    RECT client{};
    GetClientRect(host_, &client);
    MoveWindow(page_->Handle(), 0, 0, client.right, client.bottom, TRUE);
  }
  void Command(int id) const { SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  void Select(int row) const {
    for (int i = 0; i < List().Count(); ++i) List().Select(i, i == row);
  }

 private:
  HWND host_ = nullptr;
  std::unique_ptr<qv::BootScreenPage> page_;
};

// Top-down 0x00RRGGBB pixels of a client area.
struct ClientPixels {
  int width = 0, height = 0;
  std::vector<std::uint32_t> rgb;
  std::uint32_t At(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};

inline ClientPixels ReadClient(HWND window) {
  ClientPixels out;
  RECT client{};
  GetClientRect(window, &client);
  out.width = client.right;
  out.height = client.bottom;
  HDC dc = GetDC(window);
  HDC memory = CreateCompatibleDC(dc);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = out.width;
  info.bmiHeader.biHeight = -out.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, section);
  BitBlt(memory, 0, 0, out.width, out.height, dc, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* p = static_cast<const std::uint32_t*>(bits);
  out.rgb.assign(p, p + static_cast<size_t>(out.width) * out.height);
  for (std::uint32_t& v : out.rgb) v &= 0xFFFFFF;
  SelectObject(memory, old);
  DeleteObject(section);
  DeleteDC(memory);
  ReleaseDC(window, dc);
  return out;
}

inline std::uint32_t Rgb(const RGBQUAD& q) {
  return (static_cast<std::uint32_t>(q.rgbRed) << 16) | (q.rgbGreen << 8) | q.rgbBlue;
}

// A Unix path of the build as Wine's Z: drive names it.
inline std::string WinePath(const char* unixPath) {
  std::string path = std::string("Z:") + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

}  // namespace qvtest
