// The abstract canvas every chart element draws through: current pen,
// brush and font, transparency, text measuring and the 2D primitives in
// chart coordinates (device-independent pixels, origin top-left).
//
// TKelCanvas holds the state and the helpers that only combine other
// primitives; the concrete canvas (TKelCanvas3D) carries the primitives out
// on the host canvas.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "canvas/brush.h"
#include "canvas/font.h"
#include "canvas/gradient.h"
#include "platform/kel_types.h"
#include "canvas/pen.h"
#include "platform/host_canvas.h"

namespace sextant {

class TKelCorners;
class TCustomKelGradient;
class TLineBatchCanvas;

enum TCanvasStretchQuality : std::uint8_t { sqHigh, sqLow };
enum TCanvasBackMode : std::uint8_t { cbmNone, cbmTransparent, cbmOpaque };

// Text alignment codes (classic text-alignment flags).
inline constexpr int KelTA_Left = 0;
inline constexpr int KelTA_Top = 0;
inline constexpr int KelTA_Right = 2;
inline constexpr int KelTA_Center = 6;
inline constexpr int KelTA_Bottom = 8;

// Opaque blend handle of BeginBlending (this canvas returns none).
class TKelBlend;

// Monochrome grey of a colour: all three bytes (r + g + b) div 3, alpha kept.
TColor KelMonochromeColor(TColor C);

class TKelCanvas {
 public:
  TKelCanvas();
  virtual ~TKelCanvas();
  TKelCanvas(const TKelCanvas&) = delete;
  TKelCanvas& operator=(const TKelCanvas&) = delete;

  // ---- State ---------------------------------------------------------------
  // Aims the canvas at a host canvas (nullptr: none), notes whether it is
  // one of the three kinds with a native line list, and gives the host the
  // current pen, brush and font.
  virtual void SetCanvas(IHostCanvas* Value);
  IHostCanvas* ReferenceCanvas() const { return FHostCanvas; }
  void SetReferenceCanvas(IHostCanvas* Value) { SetCanvas(Value); }

  TKelPen* Pen() const { return FPen.get(); }
  TKelBrush* Brush() const { return FBrush.get(); }
  TKelFont* Font() const { return FFont.get(); }
  // The canvas gradient (the current brush's gradient).
  TKelGradient* Gradient() const;

  // Run when the current brush, font or pen changed; they map the settings
  // onto the host canvas.
  virtual void DoChangedBrush(TKelBrush* Sender);
  virtual void DoChangedFont(TKelFont* Sender);
  virtual void DoChangedPen(TKelPen* Sender);

  virtual TColor GetBackColor() = 0;
  virtual TCanvasBackMode GetBackMode() = 0;
  virtual bool GetIsNoBMPGrid() = 0;
  virtual bool GetMonochrome() = 0;
  virtual TColor GetPixel(int X, int Y) = 0;
  virtual bool GetSupportsFullRotation() = 0;
  virtual bool GetSupportsXORMode() = 0;
  virtual int GetTextAlign() = 0;
  virtual bool GetUseBuffer() = 0;
  virtual bool IsAliased() { return false; }
  virtual void SetAntiAlias(bool) {}
  virtual void SetBackColor(TColor Value) = 0;
  virtual void SetBackMode(TCanvasBackMode Value) = 0;
  virtual void SetFastLine(bool Value) = 0;
  virtual void SetInterCharSize(int) {}
  virtual void SetMonochrome(bool Value) = 0;
  virtual void SetPenMode(TPenMode) {}
  virtual void SetPixel(int X, int Y, TColor Value) = 0;
  virtual void SetTextAlign(int Value) = 0;
  virtual void SetUseBuffer(bool Value) = 0;

  int TextAlign() { return GetTextAlign(); }
  bool Monochrome() { return GetMonochrome(); }
  bool UseBuffer() { return GetUseBuffer(); }
  bool SupportsFullRotation() { return GetSupportsFullRotation(); }

  // ---- Pen, brush and font -----------------------------------------------
  // Makes Brush current with fill colour Color and back colour BackColor.
  virtual void AssignBrush(const TKelBrush* Brush, TColor Color, TColor BackColor);
  // Fill colour := the brush's BackColor, back colour := its Color.
  void AssignBrush(const TKelBrush* Brush);
  // Fill colour := Color, back colour := the brush's Color.
  void AssignBrush(const TKelBrush* Brush, TColor Color);
  void AssignBrushColor(const TKelBrush* Brush, TColor Color, TColor BackColor);
  // Makes Pen current with colour Color; an invisible pen only sets the
  // current style to psClear.
  virtual void AssignVisiblePenColor(const TKelPen* Pen, TColor Color);
  void AssignVisiblePen(const TKelPen* Pen);
  void AssignFont(const TKelFont* Font);
  // Makes Font current at Size (scaled by the font zoom when zooming text).
  void AssignFontSize(const TKelFont* Font, float Size);

  // ---- Transparency --------------------------------------------------------
  std::uint8_t Transparency() const { return FTransparency; }
  void SetTransparency(std::uint8_t Value) { FTransparency = Value; }
  // 1 - Transparency * 0.01.
  float Opacity() const;
  // Pushes Transparency and combines T multiplicatively on opacity. Rect is
  // not used; returns no blend object.
  virtual TKelBlend* BeginBlending(const TRectF& Rect, std::uint8_t T);
  // Pops the saved Transparency (nothing when none is saved).
  virtual void EndBlending(TKelBlend* Blend);

  // ---- Primitives ------------------------------------------------------------
  virtual void Arc(int Left, int Top, int Right, int Bottom, float StartAngle, float EndAngle) = 0;
  virtual void Donut(const TRectF& Rect, double StartAngle, double EndAngle, double HolePercent) = 0;
  virtual void Draw(int X, int Y, const IHostBitmap& Bitmap) = 0;
  virtual void Ellipse(float X1, float Y1, float X2, float Y2) = 0;
  virtual void Ellipse(const TRectF& R);
  virtual void FillRect(const TRectF& R) = 0;
  virtual void Frame3D(TRectF& R, TColor TopColor, TColor BottomColor, int Width);
  virtual void LineTo(float X, float Y) = 0;
  void LineTo(TPointF P) { LineTo(P.X, P.Y); }
  virtual void MoveTo(float X, float Y) = 0;
  void MoveTo(TPointF P) { MoveTo(P.X, P.Y); }
  virtual void FastLineTo(int X, int Y) = 0;
  virtual void Pie(const TRectF& Rect, double StartAngle, double EndAngle) = 0;
  virtual void Rectangle(float X0, float Y0, float X1, float Y1) = 0;
  void Rectangle(const TRectF& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
  void DoRectangle(const TRectF& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
  virtual void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) = 0;
  // With corners: the corners' path; without: the rectangle rounded to
  // integers and the six-integer form.
  virtual void RoundRect(const TRectF& R, int X, int Y, const TKelCorners* Corners = nullptr);
  virtual void StretchDraw(const TRectF& Rect, const IHostBitmap& Bitmap) = 0;
  virtual void TextOut(float X, float Y, const std::string& Text) = 0;
  // Markup is not rendered by this canvas: plain TextOut stands in for it.
  virtual void TextOut(float X, float Y, const std::string& Text, bool AllowMarkup);
  virtual int TextHeight(const std::string& Text) = 0;
  virtual TPointF TextSize(const std::string& Text) = 0;
  virtual int TextWidth(const std::string& Text) = 0;
  virtual void ClipRectangle(const TRectF& R) = 0;
  // The rounding is ignored.
  virtual void ClipRectangle(const TRectF& R, float RoundX, float RoundY);
  virtual void ClipEllipse(const TRectF& R, bool Inverted = false);
  virtual void ClipPolygon(std::span<const TPointF> Points);
  virtual void DoHorizLine(float X0, float X1, float Y);
  virtual void DoVertLine(float X, float Y0, float Y1);
  virtual void EraseBackground(const TRectF& R) { FillRect(R); }
  // Elementary gradient fill of R (always opacity 1).
  virtual void GradientFill(const TRectF& R, TColor StartColor, TColor EndColor,
                            TGradientDirection Direction, int Balance = 50, int RadialX = 0,
                            int RadialY = 0) = 0;
  // Fill of R with a gradient's colours, split in halves around a middle
  // colour.
  void GradientFill(const TCustomKelGradient& Gradient, const TRectF& R);
  virtual void Invalidate() = 0;
  virtual void Line(float X0, float Y0, float X1, float Y1);
  void Line(TPointF P0, TPointF P1) { Line(P0.X, P0.Y, P1.X, P1.Y); }
  virtual void Polyline(std::span<const TPointF> Points) = 0;
  virtual void Polygon(std::span<const TPointF> Points) = 0;
  virtual void PolygonConcave(std::span<const TPointF> Points) { Polygon(Points); }
  // Angle 0: the text at (X, Y); else rotated counter-clockwise by Angle
  // degrees about (X, Y).
  virtual void RotateLabel(int X, int Y, const std::string& Text, double Angle,
                           bool AllowMarkup = false) = 0;
  virtual void UnClipRectangle() = 0;

  // ---- Line batching -------------------------------------------------------
  // While a batch is open (BeginLineBatch .. EndLineBatch, nestable) and the
  // host answers BatchesLines, consecutive connected lines with the same
  // opacity reach the host as one DrawConnectedLines, which draws the
  // pixels of the lines one by one (or better ones where they meet). Any
  // other drawing, any real change of the host's stroke, fill or font and
  // the end of the batch hand the gathered lines on first. SetLineBatching(false) keeps every line a DrawLine (default on).
  bool LineBatching() const { return FLineBatching; }
  void SetLineBatching(bool Value);
  void BeginLineBatch();
  void EndLineBatch();
  // True while lines are being gathered.
  bool BatchingLines() const { return IBatchingLines; }

  // TextHeight("W").
  int FontHeight();
  // Pen black width 1 solid, brush white solid without picture, font brush
  // black, no style, default family and size, canvas gradient defaults, back
  // colour white, back mode transparent, text alignment 0.
  void ResetState();

  TCanvasStretchQuality StretchQuality() const { return FStretchQuality; }
  void SetStretchQuality(TCanvasStretchQuality Value) { FStretchQuality = Value; }
  bool Metafiling() const { return FMetafiling; }
  bool SupportsAlpha() const { return FSupportsAlpha; }
  bool SupportsConcave() const { return FSupportsConcave; }
  const TRectF& Bounds() const { return FBounds; }
  double FontZoom() const { return FFontZoom; }
  double PenZoom() const { return FPenZoom; }
  double CheckBoxZoom() const { return FCheckBoxZoom; }
  bool CanvasIsD2D() const { return FCanvasIsD2D; }
  bool CanvasIsGDIP() const { return FCanvasIsGDIP; }
  bool CanvasIsGPU() const { return FCanvasIsGPU; }

 protected:
  // The host text layout, created on first use and reused.
  IHostTextLayout* Layout();
  // Host fill from the current brush: its gradient when the brush is of
  // gradient kind with a visible gradient, else kind, colour and bitmap.
  void PrepareBrush();
  // Pen / brush change callbacks detached while a setter runs.
  void DisconnectPen() { FPen->OnChange = nullptr; }
  void ConnectPen();
  void DisconnectBrush() { FBrush->OnChange = nullptr; }
  void ConnectBrush();
  // Change the host's stroke or fill: Edit changes a copy of the state in
  // force (a member, so its buffers keep their capacity), which the host
  // is then handed; it sees a change only when there is one. Only with a
  // host canvas.
  template <class TEdit>
  void ChangeHostStroke(TEdit&& Edit) {
    IHostStroke = FCanvas->Stroke();
    Edit(IHostStroke);
    FCanvas->SetStroke(IHostStroke);
  }
  template <class TEdit>
  void ChangeHostFill(TEdit&& Edit) {
    IHostFill = FCanvas->Fill();
    Edit(IHostFill);
    FCanvas->SetFill(IHostFill);
  }

  TCanvasStretchQuality FStretchQuality = sqHigh;
  bool FMetafiling = false;
  bool IChangingFont = false;
  std::vector<std::uint8_t> ITranspStack;
  bool FCanvasIsD2D = false;
  bool FCanvasIsGDIP = false;
  bool FCanvasIsGPU = false;
  std::unique_ptr<IHostTextLayout> ILayout;
  std::unique_ptr<TKelBrush> FBrush;
  IHostCanvas* FCanvas = nullptr;  // not owned
  std::unique_ptr<TKelFont> FFont;
  std::unique_ptr<TKelPen> FPen;
  TRectF FBounds;
  double FFontZoom = 100;
  double FPenZoom = 100;
  double FCheckBoxZoom = 100;
  bool FSupportsAlpha = true;
  bool FSupportsConcave = true;
  bool IZoomText = true;
  bool IZoomPen = true;
  bool IUseTextCenter = false;
  TPointF ITextCenter;
  std::uint8_t FTransparency = 0;

 private:
  THostStroke IHostStroke;  // scratch of ChangeHostStroke
  THostFill IHostFill;      // scratch of ChangeHostFill
  void StartLineBatch();
  void StopLineBatch();
  IHostCanvas* FHostCanvas = nullptr;  // the host itself (FCanvas may be the batch in front of it)
  std::unique_ptr<TLineBatchCanvas> ILineBatch;
  bool FLineBatching = true;
  bool IBatchingLines = false;
  int ILineBatchDepth = 0;
};

}  // namespace sextant
