// The skin as the windows will load it: every image of data/gx decoded by the device's PNG
// decoder must be a strip of frames exactly as large as the buttons that draw it, and the
// shapes of the overlapping list rows must send a pen-down to the row the user sees.
#include "keyboards/phone_keypad.h"
#include "keyboards/predict_keypad.h"
#include "keyboards/prediction_bar.h"

#include <device/gdi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Draw modes of the button records: 0 draws the image with its transparent colour left out
// (and hit-tests against it), any other value copies it opaque.
constexpr int kTransparentDraw = 0;
constexpr int kOpaque = 1;
// The notes list's transparent colour, COLORREF 0x00BBGGRR: RGB(255, 242, 0).
constexpr COLORREF kRowKey = 0x0000F2FF;
constexpr COLORREF kNone = 0xFFFFFFFF;

struct SkinImage {
  int index;              // SkinImageTable slot, -1 for the folder browser's own icons
  std::string_view file;
  int frameWidth;         // right - left of the button rectangle
  int frameHeight;        // bottom - top (the larger where two heights share the image)
  int frames;             // highest state drawn + 1
  int drawMode;
  COLORREF transparent;
};

// One row per image; the comment names the window and the rectangle the size comes from.
constexpr std::array<SkinImage, 53> kSkin{{
    {0, "newcontact_01.png", 185, 48, 3, kTransparentDraw, kRowKey},  // contact menu: right entries 55,28+48k..240,76+48k
    {1, "newcontact_02.png", 186, 48, 3, kTransparentDraw, kRowKey},  // contact menu: left entries 0..186, same bands
    {2, "01.png", 80, 26, 3, kOpaque, kNone},              // prediction bar 0,0..80,26; Fx keys 0,198..80,224
    {3, "02.png", 80, 42, 3, kOpaque, kNone},              // phone keypad key 0: 0,1..80,43
    {4, "03.png", 80, 42, 3, kOpaque, kNone},              // phone keypad key 3: 0,43..80,85
    {5, "04.png", 80, 42, 3, kOpaque, kNone},              // phone keypad key 6: 0,85..80,127
    {6, "05.png", 80, 42, 3, kOpaque, kNone},              // phone keypad key 9: 0,127..80,169
    {7, "06.png", 80, 42, 3, kOpaque, kNone},              // phone keypad key 1: 80,1..160,43
    {8, "07.png", 80, 42, 3, kOpaque, kNone},              // phone keypad key 4: 80,43..160,85
    {9, "08.png", 80, 42, 3, kOpaque, kNone},              // phone keypad key 7: 80,85..160,127
    {10, "09.png", 80, 42, 3, kOpaque, kNone},             // phone keypad key 10: 80,127..160,169
    {11, "10.png", 80, 42, 3, kOpaque, kNone},             // phone keypad key 2: 160,1..240,43
    {12, "11.png", 80, 42, 3, kOpaque, kNone},             // phone keypad key 5: 160,43..240,85
    {13, "12.png", 80, 42, 3, kOpaque, kNone},             // phone keypad key 8: 160,85..240,127
    {14, "13.png", 80, 42, 3, kOpaque, kNone},             // phone keypad key 11: 160,127..240,169
    {15, "add.png", 60, 24, 3, kOpaque, kNone},            // calculator Add: 180,0..240,24
    {16, "caps_00.png", 48, 31, 3, kOpaque, kNone},        // phone Caps 48,170..96,201; predictive Caps 48,170..96,200
    {17, "caps_fn.png", 48, 31, 4, kOpaque, kNone},        // QWERTY Caps/Fn 48,170..96,201; frame 3 pressed
    {18, "display.png", 136, 20, 1, kOpaque, kNone},       // calculator image list only: bezel of the display edit
    {19, "fn_00.png", 48, 30, 3, kOpaque, kNone},          // predictive Fn: 0,170..48,200
    {20, "fura_01.png", 34, 34, 3, kOpaque, kNone},        // predictive character keys 34 x 34
    {21, "ls.png", 32, 31, 3, kOpaque, kNone},             // landscape character keys 32 x 31
    {22, "lsback.png", 31, 48, 3, kOpaque, kNone},         // landscape Backspace 134,60..165,108
    {23, "lscaps.png", 31, 48, 3, kOpaque, kNone},         // landscape Caps 134,223..165,271
    {24, "lsenter.png", 31, 48, 3, kOpaque, kNone},        // landscape Enter 134,12..165,60
    {25, "lsfn.png", 31, 48, 4, kOpaque, kNone},           // landscape Fn 134,268..165,316; frame 3 pressed
    {26, "lsspace.png", 31, 103, 3, kOpaque, kNone},       // landscape Space 134,115..165,218; vertical prediction bar 0,3..31,106
    {27, "menu_bal.png", 48, 30, 3, kOpaque, kNone},       // menu bar button i: 48i,0..48i+48,30
    {28, "menu_jobb.png", 48, 30, 3, kOpaque, kNone},      // menu bar, as above
    {29, "menu_ures.png", 48, 30, 3, kOpaque, kNone},      // menu bar; folder browser OK 192,0..240,30
    {30, "num_01.png", 46, 43, 3, kOpaque, kNone},         // calculator digits, e.g. 5,24..51,67
    {31, "num_02.png", 46, 43, 3, kOpaque, kNone},         // calculator operators, e.g. 143,24..189,67
    {32, "num_03.png", 48, 31, 3, kOpaque, kNone},         // phone/QWERTY 0,170..48,201; calculator 0,196..48,227; predictive 96,170..144,200
    {33, "num_04.png", 48, 31, 3, kOpaque, kNone},         // Enter 192,170..240,201 (predictive: ..200)
    {34, "num_05.png", 48, 31, 3, kOpaque, kNone},         // Backspace 144,170..192,201 (predictive: ..200)
    {35, "open_00.png", 240, 105, 3, kOpaque, kNone},      // start window band 0: 0,0..240,105
    {36, "open_01.png", 240, 50, 3, kOpaque, kNone},       // band 1: 0,105..240,155
    {37, "open_02.png", 240, 54, 3, kOpaque, kNone},       // band 2: 0,155..240,209
    {38, "open_03.png", 240, 49, 3, kOpaque, kNone},       // band 3: 0,209..240,258
    {39, "open_04.png", 240, 62, 3, kOpaque, kNone},       // band 4: 0,258..240,320
    {40, "qwerty05.png", 39, 38, 3, kOpaque, kNone},       // QWERTY character keys, e.g. 6,9..45,47
    {41, "viewcon_down.png", 30, 45, 3, kOpaque, kNone},   // contact list page down 210,75..240,120
    {42, "viewcon_name.png", 210, 30, 3, kOpaque, kNone},  // contact list rows 0,30..210,60 (+30, +60)
    {43, "viewcon_up.png", 30, 45, 3, kOpaque, kNone},     // contact list page up 210,30..240,75
    {44, "viewnote01.png", 186, 48, 3, kTransparentDraw, kRowKey},  // notes list odd rows 54,118..240,166
    {45, "viewnote02.png", 186, 48, 3, kTransparentDraw, kRowKey},  // notes list even rows 0,118..186,166
    {46, "folder_a.png", 180, 53, 3, kTransparentDraw, kRowKey},    // notes list folder 0,267..180,320
    {47, "search_a.png", 60, 53, 3, kTransparentDraw, kRowKey},     // notes list search 180,267..240,320
    {48, "fx_button.png", 200, 25, 3, kOpaque, kNone},     // Fx text keys 20,4+32k..220,29+32k
    {49, "editls.png", 22, 40, 3, kOpaque, kNone},         // landscape editor scroll buttons 0,0..22,40 and 22,0..44,40
    {-1, "arrowfolder.png", 64, 64, 1, kOpaque, kNone},    // folder browser: icon at a cell's top-left, label band below
    {-1, "yellowfolder.png", 64, 64, 1, kOpaque, kNone},
    {-1, "grayfolder.png", 64, 64, 1, kOpaque, kNone},
}};

std::string SkinPath(std::string_view file) {
  return std::string(TAVREL_SOURCE_DIR) + "/data/gx/" + std::string(file);
}

const SkinImage& Find(std::string_view file) {
  for (const SkinImage& image : kSkin)
    if (image.file == file) return image;
  ADD_FAILURE() << file << " is not in the table";
  return kSkin[0];
}

// A decoded image selected into a memory DC, for GetPixel.
class Decoded {
 public:
  explicit Decoded(std::string_view file) {
    dc_ = CreateCompatibleDC(nullptr);
    saved_ = GetCurrentObject(dc_, OBJ_BITMAP);
    bitmap_ = LoadPngFile(SkinPath(file).c_str());
    if (bitmap_) {
      SelectObject(dc_, bitmap_);
      GetObject(bitmap_, sizeof info_, &info_);
    }
  }
  ~Decoded() {
    SelectObject(dc_, saved_);
    if (bitmap_) DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Decoded(const Decoded&) = delete;
  Decoded& operator=(const Decoded&) = delete;

  bool ok() const { return bitmap_ != nullptr; }
  int width() const { return info_.bmWidth; }
  int height() const { return info_.bmHeight; }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ saved_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  BITMAP info_{};
};

TEST(SkinImages, EveryFileDecodesToAStripOfItsButtonFrames) {
  for (const SkinImage& image : kSkin) {
    Decoded decoded(image.file);
    ASSERT_TRUE(decoded.ok()) << image.file << " does not decode";
    EXPECT_EQ(decoded.width(), image.frameWidth * image.frames) << image.file;
    EXPECT_EQ(decoded.height(), image.frameHeight) << image.file;
  }
}

// The rectangles of every button the program's windows draw now, by the skin image they show:
// the phone keypad, the predictive keypad and both layouts of the prediction bar.
std::map<int, std::vector<RECT>> CodeRectangles() {
  std::map<int, std::vector<RECT>> rects;
  const auto add = [&](const KeyPlace& place) { rects[place.skinImage].push_back(place.rect); };
  for (int key = 0; key < kPhoneKeyCount; ++key) add(PhoneKeyPlace(key));
  for (int key = 0; key < kPredictKeyCount; ++key) add(PredictKeyPlace(key));
  for (int button = 0; button < 3; ++button) {
    add(PredictionBarButtonPlace(kBarHorizontal, button));
    add(PredictionBarButtonPlace(kBarVertical, button));
  }
  return rects;
}

// The generator writes its own table of sizes beside the images. Every image a window of the
// program draws must have frames as wide as its buttons and as high as the highest of them
// (a lower button copies the top part); images of windows still to come are held against the
// sizes above. A change on one side that the other does not follow shows here.
TEST(SkinImages, GeneratorTableAgreesWithTheButtonRectangles) {
  const std::map<int, std::vector<RECT>> code = CodeRectangles();
  ASSERT_FALSE(code.count(-1)) << "a key without a skin image";
  std::ifstream in(SkinPath("skin_table.tsv"));
  ASSERT_TRUE(in) << "data/gx/skin_table.tsv missing";
  std::string line;
  std::size_t rows = 0;
  std::set<int> checkedAgainstCode;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    int index = 0, width = 0, height = 0, frames = 0, stripWidth = 0, drawMode = 0;
    std::string file, key;
    fields >> index >> file >> width >> height >> frames >> stripWidth >> drawMode >> key;
    const SkinImage& expected = Find(file);
    EXPECT_EQ(index, expected.index) << file;
    EXPECT_EQ(frames, expected.frames) << file;
    EXPECT_EQ(drawMode, expected.drawMode) << file;
    EXPECT_EQ(key, expected.transparent == kNone ? "-" : "0x00F2FF") << file;
    const auto drawn = code.find(index);
    if (index >= 0 && drawn != code.end()) {
      LONG highest = 0;
      for (const RECT& r : drawn->second) {
        EXPECT_EQ(width, r.right - r.left) << file << " against a button at " << r.left << "," << r.top;
        EXPECT_GE(height, r.bottom - r.top) << file << " against a button at " << r.left << "," << r.top;
        highest = std::max(highest, r.bottom - r.top);
      }
      EXPECT_EQ(height, highest) << file;
      EXPECT_EQ(expected.frameWidth, width) << file << ": the table above lags behind the code";
      EXPECT_EQ(expected.frameHeight, height) << file << ": the table above lags behind the code";
      checkedAgainstCode.insert(index);
    } else {
      EXPECT_EQ(width, expected.frameWidth) << file;
      EXPECT_EQ(height, expected.frameHeight) << file;
    }
    ++rows;
  }
  EXPECT_EQ(rows, kSkin.size());
  for (const auto& [index, rects] : code) EXPECT_TRUE(checkedAgainstCode.count(index)) << "skin image " << index;
}

// Pixels of the transparent colour are neither drawn nor hit; the hit test reads frame 0, so a
// shape that changed between frames would be drawn where it cannot be tapped. An opaque image
// that held the colour by accident would show a yellow speck in any window that drew it keyed.
TEST(SkinImages, TransparentColourMarksTheSameShapeInEveryFrameAndNowhereElse) {
  for (const SkinImage& image : kSkin) {
    Decoded decoded(image.file);
    ASSERT_TRUE(decoded.ok()) << image.file;
    int holes = 0;
    for (int y = 0; y < image.frameHeight; ++y) {
      for (int x = 0; x < image.frameWidth; ++x) {
        const bool hole = decoded.At(x, y) == kRowKey;
        holes += hole;
        if (image.transparent == kNone) {
          ASSERT_FALSE(hole) << image.file << " holds the rows' transparent colour at " << x << "," << y;
        }
        for (int k = 1; k < image.frames; ++k) {
          const bool frameHole = decoded.At(k * image.frameWidth + x, y) == kRowKey;
          ASSERT_EQ(frameHole, hole) << image.file << " frame " << k << " differs at " << x << "," << y;
        }
      }
    }
    const bool sharesABand = image.index == 0 || image.index == 1 || image.index == 44 || image.index == 45;
    if (sharesABand) {
      EXPECT_GT(holes, image.frameWidth * image.frameHeight / 4) << image.file << " leaves no room for its partner row";
    }
  }
}

// Two rows share a 240-pixel band: the left one (listed first, so tested first by the pen) and
// the right one (drawn after it, so on top). Returns which row the pen hits at band point (x, y)
// and which row the user sees there: 0 left, 1 right, -1 none.
struct BandPoint {
  int hit;
  int seen;
};

class Band {
 public:
  Band(std::string_view leftFile, std::string_view rightFile, int rightLeft)
      : left_(leftFile), right_(rightFile), leftSpec_(Find(leftFile)), rightSpec_(Find(rightFile)),
        rightLeft_(rightLeft) {}

  bool ok() const { return left_.ok() && right_.ok(); }

  BandPoint At(int x, int y, int frame = 0) const {
    const bool inLeft = x < leftSpec_.frameWidth && left_.At(frame * leftSpec_.frameWidth + x, y) != kRowKey;
    const bool inRight = x >= rightLeft_ && right_.At(frame * rightSpec_.frameWidth + x - rightLeft_, y) != kRowKey;
    return BandPoint{inLeft ? 0 : inRight ? 1 : -1, inRight ? 1 : inLeft ? 0 : -1};
  }

 private:
  Decoded left_, right_;
  const SkinImage& leftSpec_;
  const SkinImage& rightSpec_;
  int rightLeft_;
};

void ExpectBandDividedWithoutGaps(const Band& band, const char* what) {
  for (int frame = 0; frame < 3; ++frame) {
    for (int y = 0; y < 48; ++y) {
      for (int x = 0; x < 240; ++x) {
        const BandPoint p = band.At(x, y, frame);
        ASSERT_NE(p.seen, -1) << what << ": no row at " << x << "," << y;
        ASSERT_EQ(p.hit, p.seen) << what << ": the pen at " << x << "," << y << " (frame " << frame
                                 << ") hits row " << p.hit << " but row " << p.seen << " shows there";
      }
    }
  }
}

TEST(NotesListRows, EveryPointOfABandHitsTheRowDrawnThere) {
  Band band("viewnote02.png", "viewnote01.png", 54);
  ASSERT_TRUE(band.ok());
  ExpectBandDividedWithoutGaps(band, "notes list");
}

TEST(NotesListRows, EachNameLiesOnItsOwnRow) {
  Band band("viewnote02.png", "viewnote01.png", 54);
  ASSERT_TRUE(band.ok());
  // Even names are drawn in (61..179, 7..) and odd ones in (61..179, 30..); the ends of the
  // band belong to the only row that reaches them.
  for (int x : {61, 90, 120, 150, 178}) {
    EXPECT_EQ(band.At(x, 8).hit, 0) << "even name at x " << x;
    EXPECT_EQ(band.At(x, 21).hit, 0) << "even name at x " << x;
    EXPECT_EQ(band.At(x, 31).hit, 1) << "odd name at x " << x;
    EXPECT_EQ(band.At(x, 45).hit, 1) << "odd name at x " << x;
  }
  EXPECT_EQ(band.At(0, 47).hit, 0);
  EXPECT_EQ(band.At(53, 40).hit, 0);
  EXPECT_EQ(band.At(186, 0).hit, 1);
  EXPECT_EQ(band.At(239, 24).hit, 1);
}

TEST(ContactMenuEntries, EveryPointOfABandHitsTheEntryDrawnThere) {
  Band band("newcontact_02.png", "newcontact_01.png", 55);
  ASSERT_TRUE(band.ok());
  ExpectBandDividedWithoutGaps(band, "contact menu");
  // Entry labels: left (7..55, 5..), right (185..233, 8..); values as in the notes list.
  EXPECT_EQ(band.At(10, 10).hit, 0);
  EXPECT_EQ(band.At(190, 12).hit, 1);
  EXPECT_EQ(band.At(120, 12).hit, 0);
  EXPECT_EQ(band.At(120, 38).hit, 1);
}

}  // namespace
