// Selection settings of a text element (axis labels, legend items): the
// format a hovered item is drawn with, and which item is hovered.
#pragma once

#include <memory>

#include "canvas/kel_persistent.h"
#include "canvas/text_shape.h"

namespace sextant {

class TTextSelection : public TPersistent {
 public:
  // Panel: the chart that repaints when the hovered item changes.
  // Format: the element's own text format; the hover format starts as a
  // copy of it (so it is visible when the element's texts are) with a bold
  // font.
  TTextSelection(IShapePanel* Panel, const TCustomTextShape* Format);
  ~TTextSelection() override;
  TTextSelection(const TTextSelection&) = delete;
  TTextSelection& operator=(const TTextSelection&) = delete;

  // Copies the hover format (not the hovered index).
  void Assign(const TPersistent* Source) override;

  // The format of the hovered item; its visibility switches hovering on.
  TTextShape* Hover() const { return FHover.get(); }
  void SetHover(const TTextShape* Value);
  // Index of the hovered item, -1 for none. A change repaints the panel
  // when the hover format is visible.
  int HoverIndex() const { return FHoverIndex; }
  void SetHoverIndex(int Value);

 private:
  IShapePanel* FPanel;  // not owned
  std::unique_ptr<TTextShape> FHover;
  int FHoverIndex = -1;
};

}  // namespace sextant
