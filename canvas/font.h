// Fonts: the host font part (family, size, simple and extended styles) plus
// the engine's text settings (colour brush, outline, shadow, emboss ...).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "canvas/kel_persistent.h"
#include "platform/kel_types.h"
#include "platform/host_canvas.h"

namespace sextant {

class TKelBrush;
class TKelGradient;
class TKelPicture;
class TKelHiddenPen;
class TKelShadow;
class TKelEmboss;

enum TFontQuality : std::uint8_t { fqBest, fqNormal, fqDefault, fqClearType };

// The simple style set.
using TFontStyles = std::uint8_t;
enum : TFontStyles { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// Extended styles: weight 0..10, slant 0..2, stretch 0..8.
inline constexpr int KelFontWeightRegular = 4;
inline constexpr int KelFontSlantRegular = 0;
inline constexpr int KelFontStretchRegular = 4;

inline constexpr const char* KelMsg_DefaultFontName = "Tahoma";
inline constexpr const char* KelMsg_DefaultFontSize = "11";

// Fixes the reference family and size: the platform's system font service
// when installed (size rounded), else "Tahoma" and 11. Run once at start-up;
// the accessors below run it on first use when it has not run yet.
void KelDefaultFont();
const std::string& KelDefaultFontName();
int KelDefaultFontSize();

class TKelFont : public TPersistent {
 public:
  explicit TKelFont(TNotifyEvent OnChange = nullptr);
  ~TKelFont() override;
  TKelFont(const TKelFont&) = delete;
  TKelFont& operator=(const TKelFont&) = delete;

  // Copies the brush, DefaultFont, Depth, Emboss, InterCharSize, OutLine,
  // Quality and Shadow, then family, size, simple and extended styles.
  void Assign(const TPersistent* Source) override;

  // ---- Host font part ------------------------------------------------
  const std::string& Family() const { return FFamily; }
  void SetFamily(const std::string& Value);
  const std::string& Name() const { return FFamily; }
  void SetName(const std::string& Value) { SetFamily(Value); }
  float Size() const { return FSize; }
  // NaN sets the default size; sizes beyond +-KelMaxPixelPos are clamped.
  void SetSize(float Value);
  float SizeFloat() const { return FSize; }
  void SetSizeFloat(float Value) { SetSize(Value); }
  // Legacy stored pixel height h: Size := h * -72 / 96.
  void SetHeight(int Value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  bool Bold() const { return (FStyle & fsBold) != 0; }
  bool Italic() const { return (FStyle & fsItalic) != 0; }
  int Weight() const { return FWeight; }
  void SetWeight(int Value);  // clamped to 0..10
  int Slant() const { return FSlant; }
  void SetSlant(int Value);  // clamped to 0..2
  int Stretch() const { return FStretch; }
  void SetStretch(int Value);  // clamped to 0..8
  // The host font of these settings.
  THostFont HostFont() const;

  // ---- Engine settings ---------------------------------------------------
  // Created in the constructor, colour 0xFF000000.
  TKelBrush* Brush() const { return FBrush.get(); }
  void SetBrush(const TKelBrush* Value);
  TColor Color() const;
  void SetColor(TColor Value);
  TKelGradient* Gradient() const;
  void SetGradient(const TKelGradient* Value);
  TKelPicture* Picture() const;
  void SetPicture(const TKelPicture* Value);

  bool DefaultFont() const { return FDefaultFont; }
  void SetDefaultFont(bool Value);
  double Depth() const { return FDepth; }
  void SetDepth(double Value);
  int InterCharSize() const { return FInterCharSize; }
  void SetInterCharSize(int Value);
  TFontQuality Quality() const { return FQuality; }
  void SetQuality(TFontQuality Value);

  // Created on first use (invisible).
  TKelHiddenPen* OutLine() const;
  void SetOutLine(const TKelHiddenPen* Value);  // nullptr frees it
  bool HasOutLine() const { return FOutLine != nullptr; }
  // Created on first use.
  TKelEmboss* Emboss() const;
  void SetEmboss(const TKelEmboss* Value);  // nullptr frees it
  bool HasEmboss() const { return FEmboss != nullptr; }
  TKelShadow* Shadow() const;
  void SetShadow(const TKelShadow* Value);  // nullptr frees it
  bool HasShadow() const { return FShadow != nullptr; }

  // Set value and remembered default with the callback detached.
  void InitColor(TColor Value);
  void InitStyle(TFontStyles Value);
  TColor DefaultColor() const { return IDefColor; }
  TFontStyles DefaultStyle() const { return IDefStyle; }

  // Called with the font as sender, also for changes of its sub-objects.
  TNotifyEvent OnChange;

 protected:
  void Changed();

 private:
  std::string FFamily;
  float FSize;
  TFontStyles FStyle = 0;
  int FWeight = KelFontWeightRegular;
  int FSlant = KelFontSlantRegular;
  int FStretch = KelFontStretchRegular;
  std::unique_ptr<TKelBrush> FBrush;
  bool FDefaultFont = false;
  double FDepth = 0;
  int FInterCharSize = 0;
  mutable std::unique_ptr<TKelHiddenPen> FOutLine;
  TFontQuality FQuality = fqDefault;
  TColor IDefColor = claBlack;
  TFontStyles IDefStyle = 0;
  mutable std::unique_ptr<TKelEmboss> FEmboss;
  mutable std::unique_ptr<TKelShadow> FShadow;
};

}  // namespace sextant
