#include "app/unit1.h"

#include <QPushButton>

#include "panel/chart.h"
#include "series/fast_line_series.h"

// The description resource lives in this library; make sure it is linked.
static void InitUnit1Resources() { Q_INIT_RESOURCE(app); }

namespace sextant {

TForm1::TForm1(TComponent* AOwner) : TQtForm(AOwner) {
  InitUnit1Resources();
  RegisterMethod("FormCreate", [this](QObject* sender) { FormCreate(sender); });
  RegisterMethod("Button1Click", [this](QObject* sender) { Button1Click(sender); });
  ReadDescription(":/forms/TFORM1", "Unit1.fmx", "TForm1");
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
  Chart1->Series(0)->FillSampleValues(100);
  Chart1->SetMaxPointsPerPage(10);
  Chart1->SetPage(Chart1->NumPages());  // the last page: points 90 to 99
}

void TForm1::Button1Click(QObject*) {
  // The mark-centering command joins here with the series and marks.
}

}  // namespace sextant
