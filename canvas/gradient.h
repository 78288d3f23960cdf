// Gradients: colour stops, direction, radial centre and an optional
// sub-gradient blended over the first; plus the routines that draw a
// gradient through the canvas.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "canvas/kel_exceptions.h"
#include "canvas/kel_persistent.h"
#include "platform/kel_types.h"

namespace sextant {

class TKelBrush;
class TCanvas3D;
class TKelGradientColors;

enum TGradientDirection : std::uint8_t {
  gdTopBottom,
  gdBottomTop,
  gdLeftRight,
  gdRightLeft,
  gdFromCenter,
  gdFromTopLeft,
  gdFromBottomLeft,
  gdRadial,
  gdDiagonalUp,
  gdDiagonalDown
};

// One colour stop. Transparency is the alpha byte of Color.
class TKelGradientColor {
 public:
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  double Offset() const { return FOffset; }
  void SetOffset(double Value);
  std::uint8_t Transparency() const { return ColorAlpha(FColor); }
  void SetTransparency(std::uint8_t Value);

 private:
  friend class TKelGradientColors;
  friend class TCustomKelGradient;
  explicit TKelGradientColor(TKelGradientColors* Owner) : FOwner(Owner) {}
  TKelGradientColors* FOwner;
  TColor FColor = claBlack;
  double FOffset = 0;
};

// The owned list of stops of a gradient. Indexing at or beyond the count
// first appends default stops (black, offset 0) until the index exists.
// Any change notifies the owning gradient.
class TKelGradientColors : public TPersistent {
 public:
  explicit TKelGradientColors(TNotifyEvent OnChange = nullptr);
  ~TKelGradientColors() override;
  TKelGradientColors(const TKelGradientColors&) = delete;
  TKelGradientColors& operator=(const TKelGradientColors&) = delete;

  void Assign(const TPersistent* Source) override;

  std::size_t Count() const { return FItems.size(); }
  // Appends default stops as needed, then returns the stop at Index.
  TKelGradientColor* Items(std::size_t Index);
  TKelGradientColor* operator[](std::size_t Index) { return Items(Index); }
  // Read-only access within the count.
  // ChartException for an index outside 0 .. Count - 1.
  const TKelGradientColor& At(std::size_t Index) const {
    if (Index >= FItems.size())
      KelRaiseIndex("Gradient colour", static_cast<long long>(Index), static_cast<long long>(FItems.size()) - 1);
    return *FItems[Index];
  }

  // Inserts a stop before the first stop whose offset is greater than the
  // clamped offset (0..1; NaN gives 0), so equal offsets go after existing
  // ones. Returns the new stop.
  TKelGradientColor* Add(TColor Color, double Offset);
  void Delete(std::size_t Index);
  void Clear();

  TNotifyEvent OnChange;

 private:
  friend class TKelGradientColor;
  friend class TCustomKelGradient;
  void Changed();
  std::vector<std::unique_ptr<TKelGradientColor>> FItems;
};

class TSubGradient;

// A gradient. StartColor is the first stop, EndColor the last, MidColor the
// second when there are at least three stops.
class TCustomKelGradient : public TPersistent {
 public:
  explicit TCustomKelGradient(TNotifyEvent OnChange = nullptr);
  ~TCustomKelGradient() override;
  TCustomKelGradient(const TCustomKelGradient&) = delete;
  TCustomKelGradient& operator=(const TCustomKelGradient&) = delete;

  // Copies Angle, Balance, Direction, RadialX, RadialY, Colors, StartIsEnd,
  // the sub-gradient and Visible. Assigning to itself does nothing.
  void Assign(const TPersistent* Source) override;

  int Angle() const { return FAngle; }
  void SetAngle(int Value);
  int Balance() const { return FBalance; }
  void SetBalance(int Value);
  TGradientDirection Direction() const { return FDirection; }
  void SetDirection(TGradientDirection Value);
  int RadialX() const { return FRadialX; }
  void SetRadialX(int Value);
  int RadialY() const { return FRadialY; }
  void SetRadialY(int Value);
  bool StartIsEnd() const { return FStartIsEnd; }
  void SetStartIsEnd(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  const TRectF& CustomTargetRectangle() const { return FCustomTargetRectangle; }
  void SetCustomTargetRectangle(const TRectF& Value);

  // Created on first use with two stops: start (offset 0) and end (offset 1).
  TKelGradientColors* Colors() const;
  void SetColors(const TKelGradientColors* Value);
  bool HasColors() const { return FColors != nullptr; }

  // Created on first use, Transparency 50.
  TSubGradient* SubGradient() const;
  void SetSubGradient(const TSubGradient* Value);  // nullptr frees it
  bool HasSubGradient() const { return FSubGradient != nullptr; }

  TColor StartColor() const;
  void SetStartColor(TColor Value);
  TColor EndColor() const;
  void SetEndColor(TColor Value);
  TColor MidColor() const;
  void SetMidColor(TColor Value);
  // Re-applies the last non-zero middle colour.
  void UseMiddleColor();

  // Visible False, direction top-bottom, start white, end yellow, no middle,
  // stops reset when they exist, Balance 50, Angle 0, radial centre 0.
  void InitDefaults();
  // Rebuilds the two stops from the remembered start and end colours
  // without notifying.
  void ResetColors();
  // Set value and remembered default together without notifying.
  void InitDirection(TGradientDirection Value);
  void InitColors(TColor Start, TColor Mid, TColor End);
  void InitVisible(bool Value);

  TGradientDirection DefaultDirection() const { return IDefDirection; }
  TColor DefaultStartColor() const { return IDefStart; }
  TColor DefaultMidColor() const { return IDefMid; }
  TColor DefaultEndColor() const { return IDefEnd; }
  bool DefaultVisible() const { return IDefVisible; }

  // The brush owning this gradient (not owned), or nullptr.
  TKelBrush* IBrush = nullptr;

  // ---- Drawing through the canvas' current gradient -------------------
  // Fills the rectangle (rounded when RoundRectSize >= 1), then the visible
  // sub-gradient.
  void Draw(TCanvas3D& Canvas, const TRectF& Rect, int RoundRectSize = 0);
  // Polygon through the points, projected at Depth when Is3D.
  void Draw(TCanvas3D& Canvas, std::span<const TPointF> Points, bool Is3D, int Depth);
  // Polygon of three points with the pen style cleared.
  void Draw(TCanvas3D& Canvas, TPointF P0, TPointF P1, TPointF P2);
  // Four points projected at Depth, drawn as above.
  void Draw(TCanvas3D& Canvas, TPointF P0, TPointF P1, TPointF P2, TPointF P3, int Depth);
  // The visible sub-gradient blended over the rectangle.
  void DrawSubGradient(TCanvas3D& Canvas, const TRectF& Rect, int RoundRectSize = 0);
  // Host radial gradient from StartColor to EndColor, then the sub-gradient.
  void DrawRadial(TCanvas3D& Canvas, const TRectF& Rect);

  TNotifyEvent OnChange;

 protected:
  void Changed();

 private:
  void CopyIntoCanvas(TCanvas3D& Canvas) const;
  int FAngle = 0;
  int FBalance = 50;
  mutable std::unique_ptr<TKelGradientColors> FColors;
  TGradientDirection FDirection = gdTopBottom;
  int FRadialX = 0;
  int FRadialY = 0;
  bool FStartIsEnd = false;
  mutable std::unique_ptr<TSubGradient> FSubGradient;
  bool FVisible = false;
  TRectF FCustomTargetRectangle;
  TGradientDirection IDefDirection = gdTopBottom;
  TColor IDefStart = 0xFFFFFFFF;
  TColor IDefMid = 0;
  TColor IDefEnd = 0xFFFFFF00;
  bool IDefVisible = false;
  TColor IMidColor = 0xFFFFFFFF;
};

// The published gradient class.
class TKelGradient : public TCustomKelGradient {
 public:
  explicit TKelGradient(TNotifyEvent OnChange = nullptr) : TCustomKelGradient(std::move(OnChange)) {}
};

// A gradient blended over its owner with a transparency (percent).
class TSubGradient : public TCustomKelGradient {
 public:
  explicit TSubGradient(TNotifyEvent OnChange = nullptr);
  void Assign(const TPersistent* Source) override;
  std::uint8_t Transparency() const { return FTransparency; }
  void SetTransparency(std::uint8_t Value);

 private:
  std::uint8_t FTransparency = 50;
};

}  // namespace sextant
