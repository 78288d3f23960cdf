// Per-corner styles of rounded rectangles and the path they produce.
#pragma once

#include <cstdint>

#include "canvas/kel_persistent.h"
#include "platform/kel_types.h"
#include "platform/host_canvas.h"

namespace sextant {

enum TKelCornerStyle : std::uint8_t { cosRound, cosBevel, cosNone };

class TKelCorner : public TPersistent {
 public:
  explicit TKelCorner(TNotifyEvent OnChange = nullptr) : OnChange(std::move(OnChange)) {}
  void Assign(const TPersistent* Source) override;
  TKelCornerStyle Style() const { return FStyle; }
  void SetStyle(TKelCornerStyle Value);

  TNotifyEvent OnChange;

 private:
  TKelCornerStyle FStyle = cosRound;
};

// The four corners of a rectangle, created with it.
class TKelCorners : public TPersistent {
 public:
  explicit TKelCorners(TNotifyEvent OnChange = nullptr);
  TKelCorners(const TKelCorners&) = delete;
  TKelCorners& operator=(const TKelCorners&) = delete;

  void Assign(const TPersistent* Source) override;

  TKelCorner* LeftBottom() { return &FLeftBottom; }
  TKelCorner* LeftTop() { return &FLeftTop; }
  TKelCorner* RightBottom() { return &FRightBottom; }
  TKelCorner* RightTop() { return &FRightTop; }
  const TKelCorner* LeftBottom() const { return &FLeftBottom; }
  const TKelCorner* LeftTop() const { return &FLeftTop; }
  const TKelCorner* RightBottom() const { return &FRightBottom; }
  const TKelCorner* RightTop() const { return &FRightTop; }

  // Closed path of R running clockwise from the top edge; each corner is a
  // quarter arc, a bevel cut or square by its style. The corner sizes are X
  // and Y rounded down to even, at least 1, at most the rounded width
  // (X) or height (Y).
  THostPath GetPath(const TRectF& R, int X, int Y) const;

  TNotifyEvent OnChange;

 private:
  void CornerChanged(TPersistent* Sender);
  TKelCorner FLeftBottom;
  TKelCorner FLeftTop;
  TKelCorner FRightBottom;
  TKelCorner FRightTop;
};

}  // namespace sextant
