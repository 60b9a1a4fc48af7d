// The image decompression stand-in: PNG files of every colour type decode to 32 bpp bitmaps
// with their stored colours; missing, truncated, junk and oversized input gives no bitmap.
// The test images are written here with libpng.
#include <device/gdi.h>

#include "internal/png_writer.h"

#include <gtest/gtest.h>
#include <png.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct PngSpec {
  int width;
  int height;
  int colorType;
  int bitDepth;
  bool interlaced = false;
  std::vector<png_color> palette = {};
};

// Writes a PNG whose sample bytes for row y come from `row(y, bytes)`.
void WritePng(const std::string& path, const PngSpec& format,
              const std::function<void(int, std::vector<png_byte>&)>& row) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, format.width, format.height, format.bitDepth, format.colorType,
               format.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!format.palette.empty()) {
    png_set_PLTE(png, info, format.palette.data(), static_cast<int>(format.palette.size()));
  }
  png_write_info(png, info);
  std::vector<std::vector<png_byte>> rows(format.height);
  std::vector<png_bytep> pointers;
  for (int y = 0; y < format.height; ++y) {
    rows[y].assign(png_get_rowbytes(png, info), 0);
    row(y, rows[y]);
    pointers.push_back(rows[y].data());
  }
  png_write_image(png, pointers.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}

class PngDecode : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("gdi_png_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    dc_ = CreateCompatibleDC(nullptr);
    saved_ = GetCurrentObject(dc_, OBJ_BITMAP);
  }
  void TearDown() override {
    SelectObject(dc_, saved_);
    for (HBITMAP bitmap : loaded_) DeleteObject(bitmap);
    DeleteDC(dc_);
    fs::remove_all(dir_);
  }
  std::string Path(const char* name) const { return (dir_ / name).string(); }

  // Decodes `path` and returns the colour at (x, y); the bitmap stays selected for more reads.
  HBITMAP Load(const std::string& path) {
    SelectObject(dc_, saved_);
    HBITMAP bitmap = LoadPngFile(path.c_str());
    if (bitmap) SelectObject(dc_, bitmap);
    if (bitmap) loaded_.push_back(bitmap);  // deleted at the end of the test
    return bitmap;
  }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  static SIZE SizeOf(HBITMAP bitmap) {
    BITMAP info{};
    GetObject(bitmap, sizeof info, &info);
    return SIZE{info.bmWidth, info.bmHeight};
  }

  fs::path dir_;
  HDC dc_ = nullptr;
  HGDIOBJ saved_ = nullptr;
  std::vector<HBITMAP> loaded_;
};

void RgbGradient(int y, std::vector<png_byte>& row) {
  for (std::size_t x = 0; x < row.size() / 3; ++x) {
    row[x * 3] = static_cast<png_byte>(x);
    row[x * 3 + 1] = static_cast<png_byte>(y);
    row[x * 3 + 2] = 0x62;
  }
}

}  // namespace

TEST_F(PngDecode, RgbFileGivesItsSizeAndStoredColours) {
  WritePng(Path("rgb.png"), {30, 20, PNG_COLOR_TYPE_RGB, 8}, RgbGradient);
  HBITMAP bitmap = Load(Path("rgb.png"));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(SizeOf(bitmap).cx, 30);
  EXPECT_EQ(SizeOf(bitmap).cy, 20);
  EXPECT_EQ(At(0, 0), RGB(0, 0, 0x62));
  EXPECT_EQ(At(29, 19), RGB(29, 19, 0x62));
  EXPECT_EQ(At(7, 3), RGB(7, 3, 0x62));
  SelectObject(dc_, saved_);
  EXPECT_TRUE(DeleteObject(bitmap));
  loaded_.clear();
}

TEST_F(PngDecode, PaletteGreySixteenBitInterlacedAndAlphaFilesDecode) {
  PngSpec palette{4, 2, PNG_COLOR_TYPE_PALETTE, 4};
  palette.palette = {{255, 0, 255}, {10, 20, 30}};
  WritePng(Path("palette.png"), palette, [](int y, std::vector<png_byte>& row) {
    row[0] = 0x01;  // pixels 0, 1
    row[1] = 0x10;  // pixels 1, 0
  });
  ASSERT_NE(Load(Path("palette.png")), nullptr);
  EXPECT_EQ(At(0, 0), RGB(255, 0, 255));
  EXPECT_EQ(At(1, 1), RGB(10, 20, 30));
  EXPECT_EQ(At(2, 0), RGB(10, 20, 30));

  WritePng(Path("grey2.png"), {4, 1, PNG_COLOR_TYPE_GRAY, 2},
           [](int, std::vector<png_byte>& row) { row[0] = 0x1B; });  // levels 0, 1, 2, 3
  ASSERT_NE(Load(Path("grey2.png")), nullptr);
  EXPECT_EQ(At(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(At(1, 0), RGB(0x55, 0x55, 0x55));
  EXPECT_EQ(At(3, 0), RGB(255, 255, 255));

  WritePng(Path("deep.png"), {2, 1, PNG_COLOR_TYPE_RGB, 16}, [](int, std::vector<png_byte>& row) {
    const png_byte samples[12] = {0x62, 0x10, 0xB3, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0, 0, 0x12, 0x34};
    std::copy(samples, samples + 12, row.begin());
  });
  ASSERT_NE(Load(Path("deep.png")), nullptr);
  EXPECT_EQ(At(0, 0), RGB(0x62, 0xB3, 0x00));  // high bytes kept, no gamma change
  EXPECT_EQ(At(1, 0), RGB(0xFF, 0x00, 0x12));

  PngSpec interlaced{30, 20, PNG_COLOR_TYPE_RGB, 8, true};
  WritePng(Path("adam7.png"), interlaced, RgbGradient);
  ASSERT_NE(Load(Path("adam7.png")), nullptr);
  EXPECT_EQ(At(13, 11), RGB(13, 11, 0x62));
  EXPECT_EQ(At(29, 19), RGB(29, 19, 0x62));

  WritePng(Path("alpha.png"), {2, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8}, [](int, std::vector<png_byte>& row) {
    const png_byte samples[8] = {255, 0, 255, 0, 40, 50, 60, 128};
    std::copy(samples, samples + 8, row.begin());
  });
  ASSERT_NE(Load(Path("alpha.png")), nullptr);
  EXPECT_EQ(At(0, 0), RGB(255, 0, 255));  // fully transparent pixel keeps its key colour
  EXPECT_EQ(At(1, 0), RGB(40, 50, 60));
}

TEST_F(PngDecode, MissingTruncatedJunkAndEmptyFilesGiveNoBitmap) {
  EXPECT_EQ(LoadPngFile(Path("absent.png").c_str()), nullptr);

  WritePng(Path("whole.png"), {60, 40, PNG_COLOR_TYPE_RGB, 8}, RgbGradient);
  std::ifstream in(Path("whole.png"), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (std::size_t cut : {std::size_t{4}, std::size_t{20}, bytes.size() / 2, bytes.size() - 5}) {
    std::ofstream(Path("cut.png"), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(cut));
    EXPECT_EQ(LoadPngFile(Path("cut.png").c_str()), nullptr) << "cut at " << cut;
  }
  std::string damaged = bytes;
  for (std::size_t i = 40; i < damaged.size() - 20; i += 7) damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
  std::ofstream(Path("damaged.png"), std::ios::binary).write(damaged.data(), static_cast<std::streamsize>(damaged.size()));
  EXPECT_EQ(LoadPngFile(Path("damaged.png").c_str()), nullptr);

  std::ofstream(Path("junk.png"), std::ios::binary) << "this is not an image at all, only words";
  EXPECT_EQ(LoadPngFile(Path("junk.png").c_str()), nullptr);
  std::ofstream(Path("empty.png"), std::ios::binary);
  EXPECT_EQ(LoadPngFile(Path("empty.png").c_str()), nullptr);
}

namespace {

// Writes only the signature and the header chunk: a file of a few dozen bytes that declares
// any size, as a damaged or hostile skin would.
void WriteHeaderOnly(const std::string& path, png_uint_32 width, png_uint_32 height) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_user_limits(png, 0x7fffffff, 0x7fffffff);
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_flush(png);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}

}  // namespace

TEST_F(PngDecode, HeaderAskingForMoreThanAnySkinNeedsIsRefused) {
  WriteHeaderOnly(Path("huge.png"), 16384, 16384);
  ASSERT_LT(fs::file_size(Path("huge.png")), 100u);
  EXPECT_EQ(LoadPngFile(Path("huge.png").c_str()), nullptr);
  WriteHeaderOnly(Path("wide.png"), 4097, 1);
  EXPECT_EQ(LoadPngFile(Path("wide.png").c_str()), nullptr);
  WriteHeaderOnly(Path("tall.png"), 1, 4097);
  EXPECT_EQ(LoadPngFile(Path("tall.png").c_str()), nullptr);
  // The largest side still allowed decodes normally.
  WritePng(Path("edge.png"), {4096, 2, PNG_COLOR_TYPE_RGB, 8}, RgbGradient);
  HBITMAP edge = Load(Path("edge.png"));
  ASSERT_NE(edge, nullptr);
  BITMAP info{};
  GetObject(edge, sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 4096);
}

namespace {

// A read callback over an in-memory file that records how it was called.
struct CallbackSource {
  std::string bytes;
  std::size_t position = 0;
  int calls = 0;
  DWORD largestRequest = 0;
};

DWORD ReadSource(char* buffer, DWORD size, LPARAM user) {
  auto* source = reinterpret_cast<CallbackSource*>(user);
  ++source->calls;
  source->largestRequest = std::max(source->largestRequest, size);
  const std::size_t n = std::min<std::size_t>(size, source->bytes.size() - source->position);
  std::copy_n(source->bytes.data() + source->position, n, buffer);
  source->position += n;
  return static_cast<DWORD>(n);
}

DecompressImageInfo Request(BYTE* buffer, DWORD size, HBITMAP* out, CallbackSource* source) {
  DecompressImageInfo info{};
  info.dwSize = sizeof info;
  info.pbBuffer = buffer;
  info.dwBufferMax = size;
  info.phBM = out;
  info.iBitDepth = GetDeviceCaps(nullptr, BITSPIXEL);
  info.lParam = reinterpret_cast<LPARAM>(source);
  info.iScale = 100;
  info.iMaxWidth = 5120;
  info.iMaxHeight = 5120;
  info.pfnGetData = ReadSource;
  info.crTransparentOverride = static_cast<COLORREF>(-1);
  return info;
}

}  // namespace

TEST_F(PngDecode, IndirectDecodePullsTheStreamThroughTheCallersBuffer) {
  // Noise does not compress, so the file spans several 16 KiB reads.
  std::uint32_t state = 12345;
  WritePng(Path("big.png"), {120, 100, PNG_COLOR_TYPE_RGB, 8}, [&](int, std::vector<png_byte>& row) {
    for (png_byte& b : row) {
      state = state * 1664525u + 1013904223u;
      b = static_cast<png_byte>(state >> 24);
    }
  });
  std::ifstream in(Path("big.png"), std::ios::binary);
  CallbackSource source;
  source.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  ASSERT_GT(source.bytes.size(), 0x4000u * 2);

  BYTE buffer[0x4000];
  HBITMAP bitmap = nullptr;
  DecompressImageInfo info = Request(buffer, sizeof buffer, &bitmap, &source);
  EXPECT_EQ(DecompressImageIndirect(&info), 0);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(SizeOf(bitmap).cx, 120);
  EXPECT_GE(source.calls, 3);
  EXPECT_EQ(source.largestRequest, 0x4000u);
  DeleteObject(bitmap);

  // A size limit below the image refuses it; a render object request is not supported.
  source.position = 0;
  info = Request(buffer, sizeof buffer, &bitmap, &source);
  info.iMaxWidth = 100;
  EXPECT_LT(DecompressImageIndirect(&info), 0);
  EXPECT_EQ(bitmap, nullptr);
  void* render = nullptr;
  info = Request(buffer, sizeof buffer, &bitmap, &source);
  info.ppImageRender = &render;
  EXPECT_LT(DecompressImageIndirect(&info), 0);
  EXPECT_EQ(bitmap, nullptr);
}

TEST_F(PngDecode, ScreenshotsRoundTripThroughTheDecoder) {
  std::vector<std::uint32_t> pixels(240 * 320, 0x00626262);
  pixels[5 * 240 + 7] = 0x00FF0000;  // red in the surface's 0x00RRGGBB
  device::internal::Surface surface{pixels.data(), 240, 320};
  ASSERT_TRUE(device::internal::WriteSurfacePng(Path("shot.png").c_str(), surface));
  ASSERT_NE(Load(Path("shot.png")), nullptr);
  EXPECT_EQ(At(7, 5), RGB(255, 0, 0));
  EXPECT_EQ(At(0, 0), RGB(0x62, 0x62, 0x62));
  EXPECT_FALSE(device::internal::WriteSurfacePng(Path("no/such/dir/shot.png").c_str(), surface));
}
