#include "app/unit1.h"

#include <QPushButton>

#include "panel/chart.h"
#include "marks/mark_positions.h"
#include "marks/series_marks.h"
#include "marks/series_pointer.h"
#include "panel/legend.h"
#include "series/fast_line_series.h"
#include "tools/axis_scroll_bar.h"

// The description resource lives in this library; make sure it is linked.
static void InitUnit1Resources() { Q_INIT_RESOURCE(app); }

namespace sextant {

TForm1::TForm1(TComponent* AOwner) : TQtForm(AOwner) {
  InitUnit1Resources();
  RegisterMethod("FormCreate", [this](QObject* sender) { FormCreate(sender); });
  RegisterMethod("Button1Click", [this](QObject* sender) { Button1Click(sender); });
  ReadDescription(":/forms/TFORM1", "form1.desc", "TForm1");
}

void TForm1::BindComponents(const std::string& sourceName) {
  Button1 = findChild<QPushButton*>("Button1", Qt::FindDirectChildrenOnly);
  Chart1 = dynamic_cast<TChart*>(FindComponent("Chart1"));
  if (!Button1) throw EFormReadError(sourceName, 1, "the description has no object Button1 of class TButton");
  if (!Chart1) throw EFormReadError(sourceName, 1, "the description has no object Chart1 of class TChart");
}

void TForm1::FormCreate(QObject*) {
  // One fast line series owned by the form; it takes the first colour of
  // the chart's palette.
  Chart1->AddSeries(new TFastLineSeries(this));
  Chart1->SetView3D(false);
  Chart1->Legend()->SetVisible(false);

  // Every point shows its value above a circular callout on the point.
  TSeriesMarks& marks = *Chart1->Series(0)->Marks();
  marks.SetVisible(true);
  marks.SetAutoPosition(true);
  marks.SetTextAlign(taCenter);
  marks.SetTextAlignment(taCenter);
  marks.SetVertTextAlign(vtaCenter);
  marks.SetAlignment(taCenter);
  marks.SetClip(true);
  marks.SetStyle(smsValue);
  marks.SetTransparent(true);
  marks.Callout()->SetVisible(true);
  marks.Callout()->SetStyle(psCircle);
  marks.Callout()->SetColor(marks.Color());
  marks.Callout()->SetSize(15);

  Chart1->Series(0)->FillSampleValues(100);
  Chart1->SetAllowZoom(false);
  Chart1->SetAllowPanning(pmHorizontal);  // stored directly, no repaint
  Chart1->SetMaxPointsPerPage(10);
  Chart1->SetPage(Chart1->NumPages());  // the last page: points 90 to 99

  // A scroll bar under the bottom axis. No paint has happened yet, so the
  // axis has no range and the position only is stored.
  auto* scrollBar = new TAxisScrollBarTool(this);
  scrollBar->SetParentChart(Chart1);
  scrollBar->SetAxis(Chart1->BottomAxis());
  scrollBar->SetThumbSize(20);
  scrollBar->SetMinThumbSize(1);
  scrollBar->Thumb()->SetVisible(true);
  scrollBar->SetPosition(60);
}

void TForm1::Button1Click(QObject*) {
  // Pins every mark that has been laid out and whose point lies at or right
  // of the control's left edge and at or below its top edge: the box's
  // top-left goes 12 pixels left of and 5 pixels above the point.
  TChartSeries* series = Chart1->Series(0);
  const int count = series->XValues()->Count();
  for (int i = count - 1; i >= 0; --i) {
    if (series->CalcXPos(i) < 0) continue;
    if (series->CalcYPos(i) < 0) continue;
    TSeriesMarkPosition* position = series->Marks()->Positions()->Position(i);
    if (!position) continue;
    position->Custom = true;
    position->LeftTop.X = static_cast<float>(series->CalcXPos(i) - 12);
    position->LeftTop.Y = static_cast<float>(series->CalcYPos(i) - 5);
  }
  Chart1->Repaint();
}

}  // namespace sextant
