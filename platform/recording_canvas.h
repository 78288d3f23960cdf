// A host canvas that draws nothing and records every call with its
// arguments and a snapshot of the stroke, fill, font, matrix and clip in
// force. Text metrics are deterministic so tests can assert exact
// positions:
//   width  = code points x Size x 0.5 (0.6 when bold or Weight >= 6)
//   height = Size x 1.25
// with the text rectangle laid out from the layout's top-left.
//
// SetRecording(false) keeps all state (clip, matrix, stroke ...) but stores
// no operations, for benchmarks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/host_canvas.h"

namespace sextant {

enum TRecordKind : std::uint8_t {
  rkBeginScene,
  rkEndScene,
  rkSaveState,
  rkRestoreState,
  rkIntersectClip,
  rkSetMatrix,
  rkFillRect,
  rkDrawRect,
  rkFillEllipse,
  rkDrawEllipse,
  rkDrawLine,
  rkDrawArc,
  rkFillPath,
  rkDrawPath,
  rkDrawPolyline,
  rkDrawBitmap,
  rkRenderLayout,
  rkTextToPath,
  rkCreateTextLayout,
  rkCreateBitmap,
  rkDrawConnectedLines
};

// Name of a kind ("FillRect" ...), for failure messages.
const char* RecordKindName(TRecordKind Kind);

// One recorded host call. Fields not used by a kind keep their defaults.
struct TRecordedOp {
  TRecordKind Kind = rkBeginScene;
  // FillRect/DrawRect/FillEllipse/DrawEllipse: the rectangle; IntersectClip:
  // the clip rectangle given; DrawBitmap: destination; RenderLayout: the
  // laid-out text rectangle; TextToPath: the area; CreateBitmap: (0,0,w,h).
  TRectF Rect;
  TRectF SrcRect;      // DrawBitmap source
  TPointF P1, P2;      // DrawLine end points; DrawArc centre and radii
  float XRadius = 0;   // FillRect/DrawRect corner radii
  float YRadius = 0;
  std::uint8_t Corners = 0;
  THostCornerType CornerType = THostCornerType::Round;
  float StartAngle = 0;  // DrawArc
  float SweepAngle = 0;
  float Opacity = 1;
  bool HighSpeed = false;                 // DrawBitmap
  THostPath Path;                         // FillPath/DrawPath; TextToPath result
  std::vector<TPointF> Points;            // DrawPolyline, DrawConnectedLines
  std::string Text;                       // RenderLayout, TextToPath
  TColor TextColor = 0;                   // RenderLayout: layout colour
  const IHostBitmap* Bitmap = nullptr;    // DrawBitmap
  IHostCanvas::StateHandle State = 0;     // SaveState/RestoreState
  // Snapshots at the time of the call.
  THostStroke Stroke;
  THostFill Fill;
  THostFont Font;  // RenderLayout: the layout's font; TextToPath: the font given
  TKelMatrix Matrix;
  std::optional<TRectF> Clip;  // none: unclipped
};

class TRecordingCanvas;

// The recording canvas' text layout: stores what it is given and measures
// with the deterministic metrics.
class TRecordingTextLayout : public IHostTextLayout {
 public:
  void BeginUpdate() override { ++FUpdating; }
  void EndUpdate() override { --FUpdating; }
  void SetTopLeft(TPointF p) override { FTopLeft = p; }
  void SetMaxSize(TPointF size) override { FMaxSize = size; }
  void SetText(const std::string& text) override { FText = text; }
  void SetFont(const THostFont& font) override { FFont = font; }
  void SetColor(TColor color) override { FColor = color; }
  void SetOpacity(float opacity) override { FOpacity = opacity; }
  TRectF TextRect() override;

  TPointF TopLeft() const { return FTopLeft; }
  TPointF MaxSize() const { return FMaxSize; }
  const std::string& Text() const { return FText; }
  const THostFont& Font() const { return FFont; }
  TColor Color() const { return FColor; }
  float Opacity() const { return FOpacity; }
  // Open BeginUpdate brackets.
  int Updating() const { return FUpdating; }

 private:
  TPointF FTopLeft;
  TPointF FMaxSize{10000, 10000};
  std::string FText;
  THostFont FFont;
  TColor FColor = claBlack;
  float FOpacity = 1;
  int FUpdating = 0;
};

// The deterministic metrics shared by the layout and TextToPath.
TPointF RecordingTextSize(const std::string& Text, const THostFont& Font);
// Number of UTF-8 code points of a text.
std::size_t Utf8CodePoints(const std::string& Text);

// A bitmap with real pixels and its own recording canvas.
class TRecordingBitmap : public IHostBitmap {
 public:
  TRecordingBitmap(int width, int height, float scale);
  ~TRecordingBitmap() override;
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  float BitmapScale() const override { return FScale; }
  void SetSize(int width, int height) override;
  void Clear(TColor color) override;
  IHostCanvas& Canvas() override;
  TRecordingCanvas& Recording() { return *FCanvas; }
  // Pixels outside the bitmap read 0 and are not written.
  TColor Pixel(int x, int y) const override;
  void SetPixel(int x, int y, TColor color) override;
  // Colour of the last Clear (0 before any).
  TColor ClearColor() const { return FClearColor; }
  int ClearCount() const { return FClearCount; }

 private:
  int FWidth;
  int FHeight;
  float FScale;
  std::vector<TColor> FPixels;
  std::unique_ptr<TRecordingCanvas> FCanvas;
  TColor FClearColor = 0;
  int FClearCount = 0;
};

class TRecordingCanvas : public IHostCanvas {
 public:
  TRecordingCanvas();
  ~TRecordingCanvas() override;

  std::string ClassName() const override { return FClassName; }
  // Lets a test pose as another host canvas kind (e.g. one with a native
  // line list).
  void SetClassName(std::string Name) { FClassName = std::move(Name); }
  float Scale() const override { return FScale; }
  void SetScale(float Value) { FScale = Value; }

  std::uint8_t Features() const override {
    return static_cast<std::uint8_t>((BatchLines ? hfConnectedLines : 0) | (NativePolyline ? hfNativePolyline : 0));
  }
  const THostStroke& Stroke() const override { return FState.Stroke(); }
  const THostFill& Fill() const override { return FState.Fill(); }
  const THostFont& Font() const override { return FState.Font(); }
  void SetStroke(const THostStroke& Value) override;
  void SetFill(const THostFill& Value) override;
  void SetFont(const THostFont& Value) override;

  bool BeginScene() override;
  void EndScene() override;
  StateHandle SaveState() override;
  void RestoreState(StateHandle state) override;
  void IntersectClipRect(const TRectF& r) override;
  TKelMatrix Matrix() const override { return FMatrix; }
  void SetMatrix(const TKelMatrix& m) override;

  void FillRect(const TRectF& r, float xRadius, float yRadius, std::uint8_t corners, float opacity,
                THostCornerType cornerType) override;
  void DrawRect(const TRectF& r, float xRadius, float yRadius, std::uint8_t corners, float opacity,
                THostCornerType cornerType) override;
  void FillEllipse(const TRectF& r, float opacity) override;
  void DrawEllipse(const TRectF& r, float opacity) override;
  void DrawLine(TPointF p1, TPointF p2, float opacity) override;
  void DrawArc(TPointF center, TPointF radius, float startAngle, float sweepAngle, float opacity) override;
  void FillPath(const THostPath& path, float opacity) override;
  void DrawPath(const THostPath& path, float opacity) override;
  void DrawPolyline(const TPointF* points, std::size_t count, float opacity) override;
  // Recorded as one op when BatchLines is set; otherwise as the DrawLine
  // ops it stands for.
  void DrawConnectedLines(const TPointF* points, std::size_t count, float opacity) override;
  void DrawBitmap(const IHostBitmap& bitmap, const TRectF& src, const TRectF& dst, float opacity,
                  bool highSpeed) override;

  std::unique_ptr<IHostTextLayout> CreateTextLayout() override;
  void RenderLayout(IHostTextLayout& layout) override;
  bool TextToPath(THostPath& path, const std::string& text, const THostFont& font,
                  const TRectF& area) override;
  std::unique_ptr<IHostBitmap> CreateBitmap(int width, int height, float scale) override;

  // ---- Control and queries ------------------------------------------------
  void SetRecording(bool Value) { FRecording = Value; }
  bool Recording() const { return FRecording; }
  // When set, BeginScene answers false.
  bool FailBeginScene = false;
  // When set, TextToPath fails.
  bool FailTextToPath = false;
  // When set, the canvas answers BatchesLines (the engine then gathers
  // connected lines into DrawConnectedLines).
  bool BatchLines = false;
  // When set, the canvas says its DrawPolyline is a native line list.
  bool NativePolyline = false;

  const std::vector<TRecordedOp>& Ops() const { return FOps; }
  void ClearOps() { FOps.clear(); }
  std::size_t Count(TRecordKind Kind) const;
  std::vector<const TRecordedOp*> OpsOf(TRecordKind Kind) const;
  // The last op of a kind, or nullptr.
  const TRecordedOp* Last(TRecordKind Kind) const;
  // The kinds in order, for sequence assertions.
  std::vector<TRecordKind> Kinds() const;
  // End points of every DrawLine.
  std::vector<std::pair<TPointF, TPointF>> Lines() const;
  // End points of every line segment drawn, DrawLine and each segment of a
  // DrawConnectedLines alike, in drawing order.
  std::vector<std::pair<TPointF, TPointF>> Segments() const;
  // Texts of every RenderLayout.
  std::vector<std::string> Texts() const;

  // Current clip (none: unclipped), open scenes, saved states.
  const std::optional<TRectF>& ClipRect() const { return FClip; }
  int SceneDepth() const { return FSceneDepth; }
  std::size_t SavedStates() const { return FSaved.size(); }
  int LayoutsCreated() const { return FLayoutsCreated; }
  // Setter calls that changed the stroke, fill or font (a setter given the
  // state in force changes nothing).
  int StateChanges() const { return FStateChanges; }
  int BitmapsCreated() const { return FBitmapsCreated; }

 private:
  TRecordedOp& Record(TRecordKind Kind);
  struct TSavedState {
    std::optional<TRectF> Clip;
    TKelMatrix Matrix;
  };
  std::string FClassName = "TRecordingCanvas";
  float FScale = 1;
  THostState FState;
  int FStateChanges = 0;
  TKelMatrix FMatrix;
  std::optional<TRectF> FClip;
  std::map<StateHandle, TSavedState> FSaved;
  StateHandle FNextState = 1;
  int FSceneDepth = 0;
  int FLayoutsCreated = 0;
  int FBitmapsCreated = 0;
  bool FRecording = true;
  std::vector<TRecordedOp> FOps;
  TRecordedOp FScratch;  // target of Record while not recording
};

}  // namespace sextant
