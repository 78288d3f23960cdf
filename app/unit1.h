// Unit1: the application's main window.
//
// TForm1 is built from its stored description (the Qt resource
// :/forms/TFORM1, compiled from form1.desc): the command button Button1 and
// the chart control Chart1 at their stored places. FormCreate runs once the
// description has been read; Button1Click runs on every click of Button1.
#pragma once

#include "app/qt_form.h"

class QPushButton;

namespace sextant {

class TChart;

class TForm1 : public TQtForm {
 public:
  explicit TForm1(TComponent* AOwner = nullptr);

  // Components created from the description.
  QPushButton* Button1 = nullptr;
  TChart* Chart1 = nullptr;

  // Handler of the form's creation event.
  void FormCreate(QObject* Sender);
  // Handler of Button1's click event.
  void Button1Click(QObject* Sender);

 protected:
  void BindComponents(const std::string& sourceName) override;
};

}  // namespace sextant
