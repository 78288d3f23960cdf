// Brushes: the fill settings of areas (kind, colour, hatch, gradient and
// picture), and the small picture holder used for picture fills.
#pragma once

#include <cstdint>
#include <memory>

#include "canvas/kel_persistent.h"
#include "platform/kel_types.h"
#include "platform/host_canvas.h"

namespace sextant {

class TKelGradient;

// The 53 hatch patterns of a hatch-capable canvas.
enum THatchStyle : std::uint8_t {
  hsHorizontal,
  hsVertical,
  hsForwardDiagonal,
  hsBackwardDiagonal,
  hsCross,
  hsDiagonalCross,
  hs05Percent,
  hs10Percent,
  hs20Percent,
  hs25Percent,
  hs30Percent,
  hs40Percent,
  hs50Percent,
  hs60Percent,
  hs70Percent,
  hs75Percent,
  hs80Percent,
  hs90Percent,
  hsLightDownwardDiagonal,
  hsLightUpwardDiagonal,
  hsDarkDownwardDiagonal,
  hsDarkUpwardDiagonal,
  hsWideDownwardDiagonal,
  hsWideUpwardDiagonal,
  hsLightVertical,
  hsLightHorizontal,
  hsNarrowVertical,
  hsNarrowHorizontal,
  hsDarkVertical,
  hsDarkHorizontal,
  hsDashedDownwardDiagonal,
  hsDashedUpwardDiagonal,
  hsDashedHorizontal,
  hsDashedVertical,
  hsSmallConfetti,
  hsLargeConfetti,
  hsZigZag,
  hsWave,
  hsDiagonalBrick,
  hsHorizontalBrick,
  hsWeave,
  hsPlaid,
  hsDivot,
  hsDottedGrid,
  hsDottedDiamond,
  hsShingle,
  hsTrellis,
  hsSphere,
  hsSmallGrid,
  hsSmallCheckerBoard,
  hsLargeCheckerBoard,
  hsOutlinedDiamond,
  hsSolidDiamond
};

// A picture: an optional host bitmap, either owned by the picture or only
// referenced. Copies share the bitmap (an owned bitmap lives as long as the
// last picture holding it).
class TKelPicture : public TPersistent {
 public:
  explicit TKelPicture(TNotifyEvent OnChange = nullptr);
  TKelPicture(const TKelPicture&) = delete;
  TKelPicture& operator=(const TKelPicture&) = delete;

  void Assign(const TPersistent* Source) override;

  const IHostBitmap* Bitmap() const { return FBitmap.get(); }
  // A bitmap owned elsewhere; nullptr removes the bitmap.
  void SetBitmap(const IHostBitmap* Value);
  // A bitmap the picture takes over.
  void SetOwnedBitmap(std::unique_ptr<IHostBitmap> Value);
  // True without a bitmap or with a bitmap of zero width or height.
  bool IsEmpty() const;
  void Clear() { SetBitmap(nullptr); }

  TNotifyEvent OnChange;

 private:
  std::shared_ptr<const IHostBitmap> FBitmap;
};

// A brush. The host brush part is the kind (published as Style), the colour
// and the host bitmap; the rest are the engine's own settings.
class TKelBrush : public TPersistent {
 public:
  explicit TKelBrush(TNotifyEvent OnChange = nullptr);
  ~TKelBrush() override;
  TKelBrush(const TKelBrush&) = delete;
  TKelBrush& operator=(const TKelBrush&) = delete;

  // Copies Image, BackColor, HatchStyle and the gradient (freed when the
  // source has none), then kind, colour and bitmap.
  void Assign(const TPersistent* Source) override;

  THostBrushKind Style() const { return FKind; }
  void SetStyle(THostBrushKind Value);
  THostBrushKind Kind() const { return FKind; }
  void SetKind(THostBrushKind Value) { SetStyle(Value); }
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TColor BackColor() const { return FBackColor; }
  void SetBackColor(TColor Value);
  THatchStyle HatchStyle() const { return FHatchStyle; }
  void SetHatchStyle(THatchStyle Value);
  TColor DefaultColor() const { return FDefaultColor; }

  // The host brush's own bitmap (not owned).
  const IHostBitmap* Bitmap() const { return FBitmap; }
  void SetBitmap(const IHostBitmap* Value);

  // Created on first use; remembers this brush so that its visibility
  // switches the kind between Gradient and Solid.
  TKelGradient* Gradient() const;
  void SetGradient(const TKelGradient* Value);  // nullptr frees it
  // Created on first use.
  TKelPicture* Image() const;
  void SetImage(const TKelPicture* Value);  // nullptr frees it

  // Sets Color and DefaultColor without notifying.
  void InitColor(TColor Value);
  // Style None, no image, gradient freed.
  void Clear();
  // An image object exists.
  bool HasImage() const { return FImage != nullptr; }
  // A gradient exists and is visible.
  bool HasGradient() const;
  bool HasGradientObject() const { return FGradient != nullptr; }

  // Change notification (the owner's callback).
  TNotifyEvent OnChange;

 protected:
  void Changed();

 private:
  friend class TCustomKelGradient;  // switches the kind with its visibility
  THostBrushKind FKind = THostBrushKind::Solid;
  TColor FColor = clKelColor;
  TColor FBackColor = 0;
  THatchStyle FHatchStyle = hsHorizontal;
  TColor FDefaultColor = clKelColor;
  const IHostBitmap* FBitmap = nullptr;
  mutable std::unique_ptr<TKelGradient> FGradient;
  mutable std::unique_ptr<TKelPicture> FImage;
};

}  // namespace sextant
