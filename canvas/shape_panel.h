// What a shape needs of the panel it draws on. Shapes live below the panel
// (they are settings-and-drawing objects like pens and fonts), so they reach
// the chart control only through this small interface, which the panel
// (TCustomKelPanel) implements.
#pragma once

#include <string>

#include "platform/kel_types.h"

namespace sextant {

class TCanvas3D;
class TKelFont;

// 3D edge of a panel or a shape.
enum TPanelBevel { bvNone, bvLowered, bvRaised };

class IShapePanel {
 public:
  // The panel's one canvas.
  virtual TCanvas3D* Canvas() const = 0;
  // Requests a repaint of the panel (nothing when repainting is off).
  virtual void Invalidate() = 0;
  // Store Value in Variable and Invalidate, only when they differ.
  virtual void SetBooleanProperty(bool& Variable, bool Value) = 0;
  virtual void SetSingleProperty(float& Variable, float Value) = 0;
  // Copies Font into the canvas, substituting the panel's default font when
  // Font is marked as default.
  virtual void TryAssignFont(TKelFont* Font) = 0;
  // The same, through the canvas' 3D font path when the view is 3D.
  virtual void PrepareFont3D(TKelFont* Font) = 0;
  // Width of the widest line and total height of a text split at
  // KelLineSeparator, measured with the canvas' current font; NumLines
  // receives the number of lines.
  virtual TPointF MultiLineTextSize(const std::string& Text, int TextFormat, int& NumLines) = 0;
  // Whether the panel draws in 3D.
  virtual bool View3D() const = 0;

 protected:
  // Shapes never own or delete their panel.
  ~IShapePanel() = default;
};

}  // namespace sextant
