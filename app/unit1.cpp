#include "app/unit1.h"

#include <QPushButton>

#include "panel/chart.h"

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
  // Chart1 shows what its stored description gives it; the series, marks,
  // paging and scroll bar set-up joins here with those engine parts.
}

void TForm1::Button1Click(QObject*) {
  // The mark-centering command joins here with the series and marks.
}

}  // namespace sextant
