#include "tools/thumb_bitmaps.h"

#include "platform/host_canvas.h"
#include "platform/recording_canvas.h"

namespace sextant {

// Each picture is a list of rows, one character per pixel, through a small
// palette: '.' transparent, 'w' white, 'l' light grey, 'g' silver,
// 'd' grey, 'k' dark grey, 'b' steel blue.
namespace {

TColor PaletteColor(char C) {
  switch (C) {
    case 'w': return 0xFFFFFFFF;
    case 'l': return 0xFFE0E0E0;
    case 'g': return 0xFFC0C0C0;
    case 'd': return 0xFF808080;
    case 'k': return 0xFF404040;
    case 'b': return 0xFF4682B4;
    default: return 0x00000000;
  }
}

struct TThumbPicture {
  const char* Name;
  int Width;
  int Height;
  const char* const* Rows;
};

const char* const Thumb1[] = {
    "wwwwwwwwwwwwwwwwk",
    "wggggggggggggggdk",
    "wggggggggggggggdk",
    "wggggggggggggggdk",
    "wggggwdgwdgwdggdk",
    "wggggwdgwdgwdggdk",
    "wggggwdgwdgwdggdk",
    "wggggwdgwdgwdggdk",
    "wggggwdgwdgwdggdk",
    "wggggwdgwdgwdggdk",
    "wggggwdgwdgwdggdk",
    "wggggwdgwdgwdggdk",
    "wggggggggggggggdk",
    "wggggggggggggggdk",
    "wdddddddddddddddk",
    "kkkkkkkkkkkkkkkkk",
};

const char* const Thumb2[] = {
    ".....ww.....",
    "...wwwwww...",
    "..wggggggd..",
    ".wggggggggd.",
    ".wggbbbbggd.",
    "wwggbbbbggdd",
    "wwggbbbbggdd",
    ".wggbbbbggd.",
    ".wggggggggd.",
    "..dggggggd..",
    "...dddddd...",
    ".....dd.....",
};

const char* const Thumb3[] = {
    ".....wwwwwwwwwwwwwwwwwww.....",
    "...wwgggggggggggggggggggww...",
    "..wgggggggggggggggggggggggw..",
    ".wggggggggwdgwdgwdgwdggggggw.",
    ".wggggggggwdgwdgwdgwdggggggw.",
    "wgggggggggwdgwdgwdgwdgggggggw",
    "wgggggggggwdgwdgwdgwdgggggggk",
    "kgggggggggwdgwdgwdgwdgggggggk",
    ".kggggggggwdgwdgwdgwdggggggk.",
    ".kggggggggwdgwdgwdgwdggggggk.",
    "..kgggggggggggggggggggggggk..",
    "...kkgggggggggggggggggggkk...",
    ".....kkkkkkkkkkkkkkkkkkk.....",
};

const char* const Thumb4[] = {
    "wwwwwwwwk",
    "wgggggggk",
    "wgggggggk",
    "wggdgdggk",
    "wggdgdggk",
    "wggdgdggk",
    "wggdgdggk",
    "wgggggggk",
    "wgggggggk",
    "kkkkkkkkk",
};

const TThumbPicture Pictures[] = {
    {"KelThumb1", 17, 16, Thumb1},
    {"KelThumb2", 12, 12, Thumb2},
    {"KelThumb3", 29, 13, Thumb3},
    {"KelThumb4", 9, 10, Thumb4},
};

const TThumbPicture* FindPicture(const std::string& Name) {
  for (const TThumbPicture& p : Pictures)
    if (Name == p.Name) return &p;
  return nullptr;
}

}  // namespace

bool KelBitmapResourceSize(const std::string& Name, int& Width, int& Height) {
  const TThumbPicture* p = FindPicture(Name);
  if (!p) return false;
  Width = p->Width;
  Height = p->Height;
  return true;
}

std::unique_ptr<IHostBitmap> KelLoadBitmapResource(const std::string& Name, IHostCanvas* Host) {
  const TThumbPicture* p = FindPicture(Name);
  if (!p) return nullptr;
  std::unique_ptr<IHostBitmap> bitmap;
  if (Host) bitmap = Host->CreateBitmap(p->Width, p->Height, 1);
  // Without a host (or when it offers no bitmap) the pixels live in memory;
  // hosts draw such bitmaps by reading their pixels.
  if (!bitmap) bitmap = std::make_unique<TRecordingBitmap>(p->Width, p->Height, 1.0f);
  if (bitmap->Width() != p->Width || bitmap->Height() != p->Height)
    bitmap->SetSize(p->Width, p->Height);
  for (int y = 0; y < p->Height; ++y) {
    const char* row = p->Rows[y];
    for (int x = 0; x < p->Width; ++x) bitmap->SetPixel(x, y, PaletteColor(row[x]));
  }
  return bitmap;
}

}  // namespace sextant
