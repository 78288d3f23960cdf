// Shadows and embosses: an offset copy of an outline filled with a colour,
// drawn before the shape itself.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "canvas/kel_persistent.h"
#include "platform/kel_types.h"

namespace sextant {

class TCanvas3D;
class TKelBlend;

enum TShadowDirection : std::uint8_t { sdLeftTop, sdLeftBottom, sdRightTop, sdRightBottom, sdCenter };

class TKelShadow : public TPersistent {
 public:
  explicit TKelShadow(TNotifyEvent OnChange = nullptr);
  TKelShadow(const TKelShadow&) = delete;
  TKelShadow& operator=(const TKelShadow&) = delete;

  // Copies Color, Direction, HorizSize, Smooth, SmoothBlur, Transparency,
  // VertSize and Visible (not Clip).
  void Assign(const TPersistent* Source) override;

  bool Clip() const { return FClip; }
  void SetClip(bool Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TShadowDirection Direction() const { return FDirection; }
  void SetDirection(TShadowDirection Value);
  // Offsets in pixels, clamped to +-KelMaxPixelPos.
  int HorizSize() const { return FHorizSize; }
  void SetHorizSize(int Value);
  int VertSize() const { return FVertSize; }
  void SetVertSize(int Value);
  bool Smooth() const { return FSmooth; }
  void SetSmooth(bool Value);
  int SmoothBlur() const { return FSmoothBlur; }
  void SetSmoothBlur(int Value);
  std::uint8_t Transparency() const { return FTransparency; }
  void SetTransparency(std::uint8_t Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  int BlurSize() const { return FBlurSize; }
  void SetBlurSize(int Value);
  double ZPosition() const { return FZPosition; }
  void SetZPosition(double Value);

  // max(|HorizSize|, |VertSize|); writing sets both.
  int Size() const;
  void SetSize(int Value);

  TColor DefaultColor() const { return FDefaultColor; }
  int DefaultSize() const { return FDefaultSize; }
  bool DefaultVisible() const { return FDefaultVisible; }

  // Sets visibility, colour and both sizes together with their remembered
  // defaults, without notifying.
  void InitValues(bool AVisible, TColor AColor, int ASize);

  // Visible and at least one size non-zero.
  bool ShouldDraw() const;

  // The shadow rectangle of R for the current direction and sizes.
  TRectF OffsetRectangle(const TRectF& R) const;
  // The four corners of R (left-top, right-top, right-bottom, left-bottom)
  // turned by Angle degrees about its centre.
  static std::array<TPointF, 4> RotateRectangle(const TRectF& R, double Angle);

  // Shadow of a rectangle (turned by Angle when non-zero, else with corner
  // radius RoundSize). The canvas pen's style and colour are restored.
  void Draw(TCanvas3D& Canvas, const TRectF& Rect, double Angle = 0, int RoundSize = 0);
  // Shadow of a polygon: every point moved by (+HorizSize, +VertSize).
  void Draw(TCanvas3D& Canvas, std::span<const TPointF> Points);
  // Shadow of an ellipse, or of a pie / donut slice when the angles do not
  // span a full circle or DonutPercent > 0.
  void DrawEllipse(TCanvas3D& Canvas, const TRectF& Rect, double StartAngle = 0,
                   double EndAngle = 360, int DonutPercent = 0);

  // False (draw nothing) when Color is 0 or both sizes are 0; otherwise
  // starts blending when the working transparency is above 0.
  bool PrepareCanvas(TCanvas3D& Canvas, const TRectF& Rect);
  // Ends the blending started by PrepareCanvas.
  void FinishBlending(TCanvas3D& Canvas);

  TNotifyEvent OnChange;

 protected:
  void Changed();
  void InitDirection(TShadowDirection Value) { FDirection = Value; }
  void InitDefaultVisible(bool Value) {
    FVisible = Value;
    FDefaultVisible = Value;
  }

 private:
  bool FClip = false;
  TColor FColor = claSilver;
  TShadowDirection FDirection = sdRightBottom;
  int FHorizSize = 0;
  bool FSmooth = true;
  int FSmoothBlur = 0;
  std::uint8_t FTransparency = 50;
  int FVertSize = 0;
  bool FVisible = true;
  TKelBlend* IBlend = nullptr;
  bool IBlending = false;  // a BeginBlending waits for FinishBlending
  std::uint8_t ITransp = 0;
  TColor FDefaultColor = claSilver;
  int FDefaultSize = 0;
  bool FDefaultVisible = true;
  int FBlurSize = 4;
  double FZPosition = 0;
};

// A shadow drawn to the upper left, invisible by default.
class TKelEmboss : public TKelShadow {
 public:
  explicit TKelEmboss(TNotifyEvent OnChange = nullptr);
};

}  // namespace sextant
