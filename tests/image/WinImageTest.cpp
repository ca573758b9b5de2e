// The image object's platform parts under Wine: the program's export table, capture from and
// drawing to device contexts, metafiles, and kz.dll.
#include <windows.h>

#include <gtest/gtest.h>

#include <cxxabi.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "image/CxImage.h"
#include "tests/image/ImageTestUtil.h"
#include "tests/support/WinTestSupport.h"
#include "thumbs/KzThumbnail.h"

namespace {

// The names in a PE file's export directory.
std::vector<std::string> ExportNames(const std::string& path) {
  std::vector<std::string> names;
  std::vector<uint8_t> f = qvtest::ReadFile(path);
  if (f.size() < 0x200) return names;
  auto u32 = [&](size_t at) { return at + 4 <= f.size() ? *reinterpret_cast<const uint32_t*>(&f[at]) : 0u; };
  auto u16 = [&](size_t at) { return at + 2 <= f.size() ? *reinterpret_cast<const uint16_t*>(&f[at]) : 0u; };
  size_t pe = u32(0x3C);
  size_t opt = pe + 24;
  bool plus = u16(opt) == 0x20B;
  size_t dirs = opt + (plus ? 112 : 96);
  uint32_t exportRva = u32(dirs);
  size_t sections = opt + u16(pe + 20);
  int count = int(u16(pe + 6));
  auto offset = [&](uint32_t rva) -> size_t {
    for (int i = 0; i < count; i++) {
      size_t s = sections + size_t(i) * 40;
      uint32_t va = u32(s + 12), size = u32(s + 16), raw = u32(s + 20);
      if (rva >= va && rva < va + size) return raw + (rva - va);
    }
    return 0;
  };
  size_t dir = offset(exportRva);
  if (!dir) return names;
  uint32_t n = u32(dir + 24);
  size_t table = offset(u32(dir + 32));
  for (uint32_t i = 0; i < n; i++) {
    size_t at = offset(u32(table + 4 * i));
    if (at && at < f.size()) names.emplace_back(reinterpret_cast<const char*>(&f[at]));
  }
  return names;
}

TEST(WinImage, TheProgramExportsTheImageObjectAndItsFileClasses) {
  std::vector<std::string> names = ExportNames(qvtest::DistFolder() + "Quorvex.exe");
  std::set<std::string> members;
  int image = 0, memFile = 0, ioFile = 0;
  for (const std::string& name : names) {
    int status = 0;
    char* text = abi::__cxa_demangle(name.c_str(), nullptr, nullptr, &status);
    if (!text) continue;
    std::string d = text;
    std::free(text);
    std::string member = d.substr(0, d.find('('));
    members.insert(member);
    if (member.compare(0, 9, "CxImage::") == 0) image++;
    if (member.compare(0, 11, "CxMemFile::") == 0) memFile++;
    if (member.compare(0, 10, "CxIOFile::") == 0) ioFile++;
  }
  const char* required[] = {
      "CxImage::CxImage", "CxImage::~CxImage", "CxImage::operator=", "CxImage::Startup", "CxImage::Create",
      "CxImage::Copy", "CxImage::Transfer", "CxImage::Ghost", "CxImage::Destroy", "CxImage::GetWidth",
      "CxImage::GetBits", "CxImage::GetLastError", "CxImage::GetVersion", "CxImage::SetPalette",
      "CxImage::GetNearestIndex", "CxImage::SetPixelColor", "CxImage::AlphaCreate", "CxImage::SelectionAddRect",
      "CxImage::Resample", "CxImage::DecreaseBpp", "CxImage::IncreaseBpp", "CxImage::Rotate", "CxImage::Crop",
      "CxImage::Draw", "CxImage::Draw2", "CxImage::Stretch", "CxImage::Tile", "CxImage::MakeBitmap",
      "CxImage::CreateFromHBITMAP", "CxImage::CreateFromHANDLE", "CxImage::CopyToHandle", "CxImage::LoadResource",
      "CxImage::Load", "CxImage::Decode", "CxImage::Encode", "CxImage::Save", "CxMemFile::CxMemFile",
      "CxMemFile::Read", "CxMemFile::Write", "CxMemFile::Seek", "CxMemFile::GetBuffer", "CxIOFile::Open",
      "CxIOFile::Close", "CxIOFile::GetC", "vtable for CxImage", "vtable for CxFile", "vtable for CxMemFile",
      "vtable for CxIOFile"};
  for (const char* r : required) EXPECT_TRUE(members.count(r)) << r;
  EXPECT_GE(image, 120);
  EXPECT_GE(memFile, 15);
  EXPECT_GE(ioFile, 12);
}

// A 24-bit section of w x h whose pixel (x, y from the top) is colour(x, y).
HBITMAP Section(int w, int h, void** bits) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  return CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
}

TEST(WinImage, CreateFromHBITMAPCopiesThePixels) {
  void* bits = nullptr;
  HBITMAP bmp = Section(5, 3, &bits);
  ASSERT_NE(bmp, nullptr);
  CxImage ref = qvtest::Random24(5, 3, 4);
  for (uint32_t y = 0; y < 3; y++) std::memcpy(static_cast<uint8_t*>(bits) + y * 16, ref.GetBits(y), 15);
  CxImage image;
  ASSERT_TRUE(image.CreateFromHBITMAP(bmp));
  EXPECT_EQ(image.GetBpp(), 24u);
  EXPECT_EQ(qvtest::DifferentPixels(image, ref), 0);
  DeleteObject(bmp);
  EXPECT_FALSE(image.CreateFromHBITMAP(nullptr));
}

struct Canvas {
  HDC dc = nullptr;
  HBITMAP bmp = nullptr;
  HGDIOBJ old = nullptr;
  void* bits = nullptr;
  int w, h;
  Canvas(int width, int height, COLORREF fill) : w(width), h(height) {
    bmp = Section(w, h, &bits);
    dc = CreateCompatibleDC(nullptr);
    old = SelectObject(dc, bmp);
    HBRUSH brush = CreateSolidBrush(fill);
    RECT r{0, 0, w, h};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    GdiFlush();
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bmp);
  }
  // (x, y) from the top.
  COLORREF At(int x, int y) {
    GdiFlush();
    const uint8_t* p = static_cast<uint8_t*>(bits) + (h - 1 - y) * (((w * 24 + 31) / 32) * 4) + x * 3;
    return RGB(p[2], p[1], p[0]);
  }
};

TEST(WinImage, DrawCopiesComposesAndHonoursItsFlags) {
  CxImage image;
  image.Create(2, 2, 8, 0);
  image.SetPaletteIndex(0, 0, 0, 255);
  image.SetPaletteIndex(1, 0, 255, 0);
  image.SetPixelIndex(0, 1, 1);  // top-left green, the rest blue
  {
    Canvas c(4, 4, RGB(255, 0, 0));
    EXPECT_TRUE(image.Draw(c.dc, 1, 1));
    EXPECT_EQ(c.At(1, 1), RGB(0, 255, 0));
    EXPECT_EQ(c.At(2, 2), RGB(0, 0, 255));
    EXPECT_EQ(c.At(0, 0), RGB(255, 0, 0));
  }
  {
    Canvas c(4, 4, RGB(255, 0, 0));
    image.SetTransIndex(0);
    EXPECT_TRUE(image.Draw(c.dc, 0, 0));
    EXPECT_EQ(c.At(0, 0), RGB(0, 255, 0));
    EXPECT_EQ(c.At(1, 1), RGB(255, 0, 0));  // transparent: untouched
    image.SetTransIndex(-1);
  }
  {
    Canvas c(4, 4, RGB(0, 0, 0));
    CxImage white;
    white.Create(2, 2, 24, 0);
    std::memset(white.GetBits(0), 255, 6);
    std::memset(white.GetBits(1), 255, 6);
    white.AlphaCreate();
    white.AlphaSet(128);
    EXPECT_TRUE(white.Draw(c.dc, 0, 0));
    EXPECT_EQ(GetRValue(c.At(0, 0)), 128);
    white.Enable(false);
    Canvas d(4, 4, RGB(0, 0, 0));
    EXPECT_FALSE(white.Draw(d.dc, 0, 0));
    EXPECT_EQ(d.At(0, 0), RGB(0, 0, 0));
    white.Enable(true);
    EXPECT_FALSE(white.Draw(d.dc, 0, 0, 0, 5));
    RECT clip{0, 0, 1, 4};
    EXPECT_TRUE(image.Draw(d.dc, 0, 0, -1, -1, &clip));
    EXPECT_EQ(d.At(0, 0), RGB(0, 255, 0));
    EXPECT_EQ(d.At(1, 0), RGB(0, 0, 0));  // outside the clip
  }
  {
    Canvas c(4, 4, RGB(255, 0, 0));
    EXPECT_TRUE(image.Stretch(c.dc, 0, 0, 4, 4));
    EXPECT_EQ(c.At(1, 1), RGB(0, 255, 0));
    EXPECT_EQ(c.At(3, 3), RGB(0, 0, 255));
  }
}

TEST(WinImage, HandlesAndBitmapsRoundTrip) {
  CxImage image = qvtest::Random24(7, 5, 3);
  HANDLE mem = image.CopyToHandle();
  ASSERT_NE(mem, nullptr);
  CxImage back;
  ASSERT_TRUE(back.CreateFromHANDLE(mem)) << back.GetLastError();
  GlobalFree(mem);
  EXPECT_EQ(qvtest::DifferentPixels(image, back), 0);
  HBITMAP bmp = image.MakeBitmap(nullptr);
  ASSERT_NE(bmp, nullptr);
  CxImage captured;
  ASSERT_TRUE(captured.CreateFromHBITMAP(bmp));
  DeleteObject(bmp);
  EXPECT_EQ(qvtest::DifferentPixels(image, captured), 0);
  EXPECT_FALSE(back.LoadResource(nullptr, 0, nullptr));
  EXPECT_STREQ(back.GetLastError(), "Unable to load resource!");
}

// A placeable metafile whose bounding box is w x h units at `inch` units per inch.
std::vector<uint8_t> PlaceableWmf(int w, int h, int inch) {
  HDC mf = CreateMetaFileA(nullptr);
  SetWindowExtEx(mf, w, h, nullptr);
  Rectangle(mf, 0, 0, w, h);
  HMETAFILE handle = CloseMetaFile(mf);
  UINT size = GetMetaFileBitsEx(handle, 0, nullptr);
  std::vector<uint8_t> bits(size);
  GetMetaFileBitsEx(handle, size, bits.data());
  DeleteMetaFile(handle);
  std::vector<uint8_t> v;
  qvtest::Put32(v, 0x9AC6CDD7);
  qvtest::Put16(v, 0);
  qvtest::Put16(v, 0);
  qvtest::Put16(v, 0);
  qvtest::Put16(v, uint32_t(w));
  qvtest::Put16(v, uint32_t(h));
  qvtest::Put16(v, uint32_t(inch));
  qvtest::Put32(v, 0);
  uint16_t sum = 0;
  for (int i = 0; i < 10; i++) sum ^= uint16_t(v[2 * i] | (v[2 * i + 1] << 8));
  qvtest::Put16(v, sum);
  v.insert(v.end(), bits.begin(), bits.end());
  return v;
}

TEST(WinImage, MetafilesRenderAtScreenSizeReducedTo4000) {
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  struct Case {
    int w, h;
    uint32_t wantW, wantH;
  } cases[] = {{8000, 2000, 4000, 1000}, {300, 200, 300, 200}, {2000, 9000, 888, 4000}};
  for (const Case& c : cases) {
    std::vector<uint8_t> wmf = PlaceableWmf(c.w, c.h, dpi);
    CxImage image;
    ASSERT_TRUE(image.Decode(wmf.data(), uint32_t(wmf.size()), CXIMAGE_FORMAT_WMF)) << image.GetLastError();
    EXPECT_EQ(image.GetWidth(), c.wantW);
    EXPECT_EQ(image.GetHeight(), c.wantH);
  }
  uint8_t junk[40] = {1, 2, 3};
  CxImage image;
  EXPECT_FALSE(image.Decode(junk, sizeof junk, CXIMAGE_FORMAT_WMF));
  EXPECT_STREQ(image.GetLastError(), "corrupted WMF");
  // An enhanced metafile with a frame of 50.8 x 25.4 mm: 2 x 1 inches.
  RECT frame{0, 0, 5080, 2540};
  HDC emf = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
  Rectangle(emf, 0, 0, 10, 10);
  HENHMETAFILE handle = CloseEnhMetaFile(emf);
  UINT size = GetEnhMetaFileBits(handle, 0, nullptr);
  std::vector<uint8_t> bits(size);
  GetEnhMetaFileBits(handle, size, bits.data());
  DeleteEnhMetaFile(handle);
  ASSERT_TRUE(image.Decode(bits.data(), size, CXIMAGE_FORMAT_WMF)) << image.GetLastError();
  EXPECT_EQ(long(image.GetWidth()), 2 * dpi);
  EXPECT_EQ(long(image.GetHeight()), dpi);
}

TEST(WinImage, KzDllMakesThumbnailsWithTheRealSize) {
  HMODULE kz = LoadLibraryA((qvtest::DistFolder() + "kz.dll").c_str());
  ASSERT_NE(kz, nullptr);
  auto make = reinterpret_cast<GenerateThumbnail2Fn>(GetProcAddress(kz, "fn_b_GenerateThumbnail2"));
  auto toDc = reinterpret_cast<GenerateThumbnailToDCFn>(GetProcAddress(kz, "fn_b_GenerateThumbnailToDC"));
  ASSERT_NE(make, nullptr);
  ASSERT_NE(toDc, nullptr);
  CxImage photo = qvtest::Smooth24(800, 600);
  std::string path = qvtest::TempPath("kz.jpg");
  ASSERT_TRUE(photo.Save(path.c_str(), CXIMAGE_FORMAT_JPG));
  HBITMAP bmp = nullptr;
  int size[2] = {0, 0};
  ASSERT_NE(make(path.c_str(), 96, 96, &bmp, size), 0);
  BITMAP bm;
  GetObject(bmp, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 96);
  EXPECT_EQ(bm.bmHeight, 72);
  EXPECT_EQ(size[0], 800);
  EXPECT_EQ(size[1], 600);
  DeleteObject(bmp);
  Canvas c(200, 34, RGB(0, 0, 0));
  EXPECT_NE(toDc(path.c_str(), c.dc, 0, 0, 200, 34, size), 0);
  EXPECT_NE(c.At(100, 17), RGB(0, 0, 0));  // 45 x 34, centred
  EXPECT_EQ(c.At(10, 17), RGB(0, 0, 0));
  EXPECT_EQ(make((path + ".missing").c_str(), 96, 96, &bmp, size), 0);
  std::remove(path.c_str());
  FreeLibrary(kz);
}

}  // namespace
