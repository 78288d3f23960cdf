// Pens: the settings of lines and frames (style, width, caps, joins,
// dotting, visibility) with the colour held in a lazily created fill brush.
#pragma once

#include <cstdint>
#include <memory>

#include "canvas/kel_persistent.h"
#include "platform/kel_types.h"

namespace sextant {

class TKelBrush;

enum TPenStyle : std::uint8_t {
  psSolid,
  psDash,
  psDot,
  psDashDot,
  psDashDotDot,
  psClear,
  psInsideFrame,
  psUserStyle,
  psAlternate
};

// Raster operation of a pen. Kept and set by owners; the canvas never applies
// it (it reports that xor drawing is not supported).
enum TPenMode : std::uint8_t {
  pmBlack,
  pmWhite,
  pmNop,
  pmNot,
  pmCopy,
  pmNotCopy,
  pmMergePenNot,
  pmMaskPenNot,
  pmMergeNotPen,
  pmMaskNotPen,
  pmMerge,
  pmNotMerge,
  pmMask,
  pmNotMask,
  pmXor,
  pmNotXor
};

enum TPenEndStyle : std::uint8_t { esRound, esSquare, esFlat };
enum TPenJoinStyle : std::uint8_t { jsRound, jsBevel, jsMitter };

// A pen. Every setter stores and notifies only on a change. The colour lives
// in the fill brush, created on first use (black), so an untouched pen is
// black.
class TKelPen : public TPersistent {
 public:
  explicit TKelPen(TNotifyEvent OnChange = nullptr);
  ~TKelPen() override;
  TKelPen(const TKelPen&) = delete;
  TKelPen& operator=(const TKelPen&) = delete;

  // Copies Visible, SmallDots, SmallSpace, EndStyle, JoinStyle, Fill, Width
  // and Style (not Mode). A source without a fill frees the own fill.
  void Assign(const TPersistent* Source) override;

  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode Value);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  float Width() const { return FWidth; }
  void SetWidth(float Value);
  TPenEndStyle EndStyle() const { return FEndStyle; }
  void SetEndStyle(TPenEndStyle Value);
  TPenJoinStyle JoinStyle() const { return FJoinStyle; }
  void SetJoinStyle(TPenJoinStyle Value);
  bool SmallDots() const { return FSmallDots; }
  void SetSmallDots(bool Value);
  int SmallSpace() const { return FSmallSpace; }
  void SetSmallSpace(int Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

  // Colour of the fill brush (black when the fill does not exist yet).
  TColor Color() const;
  void SetColor(TColor Value);

  // The fill brush, created on first use with colour 0xFF000000.
  TKelBrush* Fill() const;
  // nullptr frees the fill (colour back to black), else copies Value.
  void SetFill(const TKelBrush* Value);
  bool HasFill() const { return FFill != nullptr; }

  TPenEndStyle DefaultEnd() const { return FDefaultEnd; }
  TPenJoinStyle DefaultJoin() const { return FDefaultJoin; }
  bool DefaultVisible() const { return FDefaultVisible; }
  float DefaultWidth() const { return FDefaultWidth; }

  // 0 when invisible or Width <= 1, else Round(Width * 0.5).
  int HalfWidth() const;
  void Hide() { SetVisible(false); }
  void Show() { SetVisible(true); }
  // The fill exists and has a visible gradient.
  bool IsGradientVisible() const;

  // Sets Color through the ordinary setter (notifying on a change), then
  // makes it the fill's remembered default.
  void InitColor(TColor Value);
  // Sets EndStyle and DefaultEnd without notifying.
  void InitEndStyle(TPenEndStyle Value);
  // Set value and remembered default together without notifying.
  void InitVisible(bool Value);
  void InitWidth(float Value);
  void InitJoinStyle(TPenJoinStyle Value);

  TNotifyEvent OnChange;

 protected:
  void Changed();

 private:
  TPenMode FMode = pmCopy;
  TPenStyle FStyle = psSolid;
  float FWidth = 1;
  TPenEndStyle FEndStyle = esRound;
  TPenJoinStyle FJoinStyle = jsRound;
  bool FSmallDots = false;
  int FSmallSpace = 0;
  bool FVisible = true;
  TPenEndStyle FDefaultEnd = esRound;
  TPenJoinStyle FDefaultJoin = jsRound;
  bool FDefaultVisible = true;
  float FDefaultWidth = 1;
  mutable std::unique_ptr<TKelBrush> FFill;  // created on first use
};

// A pen invisible by default (Visible and DefaultVisible False).
class TKelHiddenPen : public TKelPen {
 public:
  explicit TKelHiddenPen(TNotifyEvent OnChange = nullptr);
};

// A pen dark grey (0xFFA9A9A9) by default.
class TDarkGrayPen : public TKelPen {
 public:
  explicit TDarkGrayPen(TNotifyEvent OnChange = nullptr);
};

// A pen white by default.
class TWhitePen : public TKelPen {
 public:
  explicit TWhitePen(TNotifyEvent OnChange = nullptr);
};

}  // namespace sextant
