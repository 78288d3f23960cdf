// TQtForm: a window created from a stored description.
//
// The form is a QWidget (the window), a TComponent (it owns the engine
// components created on it, such as charts) and an IHostForm (controls
// created on it size themselves from its client area). Its constructor does
// nothing visible; a derived form registers its event handlers by name and
// calls ReadDescription, which builds the window from a description held as
// a Qt resource and then raises OnCreate.
//
// Classes a description may contain: TButton (a QPushButton) and TChart (the
// engine's chart control hosted in a TChartWidget).
#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/form_reader.h"
#include "canvas/kel_component.h"
#include "platform/host_control.h"

class QPushButton;

namespace sextant {

class TChart;
class TChartWidget;

// Where the window is placed when it is first shown.
enum TFormPosition { poDesigned, poDefault, poDefaultPosOnly, poScreenCenter, poDesktopCenter };

class TQtForm : public QWidget, public TComponent, public IHostForm {
 public:
  // A handler of an event named in the description (OnCreate, OnClick ...).
  using TFormMethod = std::function<void(QObject* Sender)>;

  explicit TQtForm(TComponent* AOwner = nullptr);
  ~TQtForm() override;

  // IHostForm: the client area as it is now.
  float FormClientWidth() const override { return static_cast<float>(width()); }
  float FormClientHeight() const override { return static_cast<float>(height()); }

  // Raised once the description has been read.
  TFormMethod OnCreate;

  TFormPosition Position() const { return FPosition; }
  // Design-time information of the description, kept as read.
  int FormFactorWidth() const { return FFormFactorWidth; }
  int FormFactorHeight() const { return FFormFactorHeight; }
  const std::vector<std::string>& FormFactorDevices() const { return FFormFactorDevices; }

  // The host widget of a chart created from the description (null if none).
  TChartWidget* ChartWidget(const TChart* chart) const;
  // A component created from the description, by name (null if none).
  TComponent* FindComponent(const std::string& name) const;

 protected:
  // Makes a handler known to the description under its name.
  void RegisterMethod(const std::string& name, TFormMethod method);
  // The handler of that name; raises EFormValueError when there is none.
  const TFormMethod& MethodByName(const std::string& name) const;

  // Reads the description from a Qt resource (sourceName appears in error
  // messages), applies it to this form whose class must be className, then
  // raises OnCreate. Raises EFormReadError.
  void ReadDescription(const QString& resourcePath, const std::string& sourceName,
                       const std::string& className);
  // Called after the description was read and before OnCreate: a derived
  // form sets its component fields from the components created, by name,
  // and raises EFormReadError when one is missing.
  virtual void BindComponents(const std::string& sourceName) { (void)sourceName; }
  // The same from text (used by ReadDescription and by tests).
  void ReadDescriptionText(std::string_view text, const std::string& sourceName,
                           const std::string& className);

 private:
  class TFormBinding;
  class TButtonBinding;
  class TChartBinding;
  friend class TFormBinding;
  friend class TButtonBinding;
  friend class TChartBinding;

  // Tab order of the controls read: by TabOrder, else in creation order.
  void AddControl(QWidget* control, int tabOrder);
  void SetTabOrderOf(QWidget* control, int tabOrder);
  void ApplyTabOrder();
  // Places the window as Position says, before it is shown.
  void ApplyPosition();

  TFormPosition FPosition = poDefaultPosOnly;
  int FDesignLeft = 0;
  int FDesignTop = 0;
  int FFormFactorWidth = 0;
  int FFormFactorHeight = 0;
  std::vector<std::string> FFormFactorDevices;
  std::map<std::string, TFormMethod> FMethods;  // by lower-case name
  struct TControlEntry {
    QWidget* Control;
    int TabOrder;  // -1: not stored
  };
  std::vector<TControlEntry> FControls;
  std::vector<std::pair<const TChart*, TChartWidget*>> FChartWidgets;
};

}  // namespace sextant
