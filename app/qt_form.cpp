#include "app/qt_form.h"

#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <cmath>

#include "canvas/brush.h"
#include "canvas/pen.h"
#include "canvas/font.h"
#include "canvas/text_shape.h"
#include "panel/chart.h"
#include "panel/legend.h"
#include "panel/titles.h"
#include "platform/qt/chart_widget.h"

namespace sextant {

namespace {

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

int RoundToInt(double v) { return static_cast<int>(std::lround(v)); }

// Position and size of a control in logical units, as stored.
struct TControlBounds {
  double X = 0, Y = 0, Width = 0, Height = 0;
  bool PlatformDefault = false;  // the platform's default size instead of Width x Height
};

double Coordinate(const TFormValue& v) {
  const double d = v.AsFloat();
  if (std::abs(d) > 1e6) throw EFormValueError(v.Describe() + " is out of range");
  return d;
}

double Extent(const TFormValue& v) {
  const double d = Coordinate(v);
  if (d < 0) throw EFormValueError("a size cannot be negative, found " + v.Describe());
  return d;
}

// The registry entries shared by every control class.
template <class TBinding>
void AddControlProperties(TPropertyRegistry<TBinding>& r) {
  r.Add("Position.X", [](TBinding& b, const TFormValue& v) { b.Bounds.X = Coordinate(v); b.Place(); })
      .Add("Position.Y", [](TBinding& b, const TFormValue& v) { b.Bounds.Y = Coordinate(v); b.Place(); })
      .Add("Size.Width", [](TBinding& b, const TFormValue& v) { b.Bounds.Width = Extent(v); b.Place(); })
      .Add("Size.Height", [](TBinding& b, const TFormValue& v) { b.Bounds.Height = Extent(v); b.Place(); })
      .Add("Size.PlatformDefault",
           [](TBinding& b, const TFormValue& v) { b.Bounds.PlatformDefault = v.AsBoolean(); b.Place(); })
      .Add("TabOrder", [](TBinding& b, const TFormValue& v) {
        const int order = v.AsInteger();
        if (order < 0) throw EFormValueError("a tab order cannot be negative, found " + v.Describe());
        b.SetTabOrder(order);
      });
}

// A colour: a named colour identifier (claSilver ...) or an ARGB integer.
TColor ColorValue(const TFormValue& v) {
  if (v.Kind == TFormValue::vkIdentifier) {
    static const std::pair<const char*, TColor> named[] = {
        {"claNull", 0x00000000}, {"claBlack", 0xFF000000}, {"claWhite", 0xFFFFFFFF},
        {"claSilver", 0xFFC0C0C0}, {"claGray", 0xFF808080}, {"claDarkgray", 0xFFA9A9A9},
        {"claRed", 0xFFFF0000}, {"claGreen", 0xFF008000}, {"claBlue", 0xFF0000FF},
        {"claYellow", 0xFFFFFF00}, {"claLightgray", 0xFFD3D3D3}};
    for (const auto& [name, color] : named)
      if (v.Text == name) return color;
    throw EFormValueError("unknown colour " + v.Describe());
  }
  const std::int64_t c = v.Kind == TFormValue::vkInteger ? v.Integer : -1;
  if (c < 0 || c > 0xFFFFFFFFll) throw EFormValueError("a colour must be a colour name or an ARGB value, found " + v.Describe());
  return static_cast<TColor>(c);
}

// A host brush kind stored by name.
THostBrushKind BrushKindValue(const TFormValue& v) {
  static const std::vector<std::string> kinds = {"None", "Solid", "Gradient", "Bitmap", "Resource"};
  const std::string& k = v.AsIdentifierOf(kinds);
  return static_cast<THostBrushKind>(std::find(kinds.begin(), kinds.end(), k) - kinds.begin());
}

// A font's extended style, stored as 13 bytes: the simple styles (one byte,
// a set of bold 0, italic 1, underline 2, strike-out 3), then weight, slant
// and stretch as 32-bit little-endian integers.
void ApplyStyleExt(TKelFont& font, const TFormValue& v) {
  const std::vector<std::uint8_t>& b = v.AsBinary();
  if (b.size() != 13)
    throw EFormValueError("a font's StyleExt must hold 13 bytes, found " + std::to_string(b.size()));
  auto int32At = [&b](std::size_t i) {
    return static_cast<std::int32_t>(std::uint32_t(b[i]) | std::uint32_t(b[i + 1]) << 8 |
                                     std::uint32_t(b[i + 2]) << 16 | std::uint32_t(b[i + 3]) << 24);
  };
  const int weight = int32At(1), slant = int32At(5), stretch = int32At(9);
  if (b[0] > 0x0F || weight < 0 || weight > 10 || slant < 0 || slant > 2 || stretch < 0 || stretch > 8)
    throw EFormValueError("StyleExt value out of range: styles " + std::to_string(b[0]) + ", weight " +
                          std::to_string(weight) + ", slant " + std::to_string(slant) + ", stretch " +
                          std::to_string(stretch));
  font.SetStyle(static_cast<TFontStyles>(b[0]));
  font.SetWeight(weight);
  font.SetSlant(slant);
  font.SetStretch(stretch);
}

}  // namespace

// ---- Bindings of the classes a description may contain ----------------------------

// The form itself (the root object).
class TQtForm::TFormBinding : public IFormBinding {
 public:
  explicit TFormBinding(TQtForm& form) : Form(form) {}

  bool SetProperty(const std::string& name, const TFormValue& value) override {
    const auto* setter = Registry().Find(name);
    if (!setter) return false;
    (*setter)(*this, value);
    return true;
  }
  bool CanContainObjects() const override { return true; }

  static const TPropertyRegistry<TFormBinding>& Registry() {
    static const TPropertyRegistry<TFormBinding> registry = [] {
      TPropertyRegistry<TFormBinding> r;
      r.Add("Left", [](TFormBinding& b, const TFormValue& v) { b.Form.FDesignLeft = v.AsInteger(); })
          .Add("Top", [](TFormBinding& b, const TFormValue& v) { b.Form.FDesignTop = v.AsInteger(); })
          .Add("Caption",
               [](TFormBinding& b, const TFormValue& v) { b.Form.setWindowTitle(QString::fromStdString(v.AsString())); })
          .Add("ClientWidth",
               [](TFormBinding& b, const TFormValue& v) {
                 const int w = v.AsInteger();
                 if (w < 0 || w > 100000) throw EFormValueError(v.Describe() + " is out of range");
                 b.Form.resize(w, b.Form.height());
               })
          .Add("ClientHeight",
               [](TFormBinding& b, const TFormValue& v) {
                 const int h = v.AsInteger();
                 if (h < 0 || h > 100000) throw EFormValueError(v.Describe() + " is out of range");
                 b.Form.resize(b.Form.width(), h);
               })
          .Add("Position",
               [](TFormBinding& b, const TFormValue& v) {
                 static const std::vector<std::string> names = {"Designed", "Default", "DefaultPosOnly",
                                                                "ScreenCenter", "DesktopCenter"};
                 const std::string& id = v.AsIdentifierOf(names);
                 b.Form.FPosition = static_cast<TFormPosition>(std::find(names.begin(), names.end(), id) - names.begin());
               })
          .Add("FormFactor.Width", [](TFormBinding& b, const TFormValue& v) { b.Form.FFormFactorWidth = v.AsInteger(); })
          .Add("FormFactor.Height", [](TFormBinding& b, const TFormValue& v) { b.Form.FFormFactorHeight = v.AsInteger(); })
          .Add("FormFactor.Devices",
               [](TFormBinding& b, const TFormValue& v) { b.Form.FFormFactorDevices = v.AsSet(); })
          .Add("OnCreate",
               [](TFormBinding& b, const TFormValue& v) { b.Form.OnCreate = b.Form.MethodByName(v.AsIdentifier()); });
      return r;
    }();
    return registry;
  }

  TQtForm& Form;
};

// TButton: a push button with a caption and a click event.
class TQtForm::TButtonBinding : public IFormBinding {
 public:
  TButtonBinding(TQtForm& form, const std::string& name) : Form(form), Button(new QPushButton(&form)) {
    Button->setObjectName(QString::fromStdString(name));
    // The default size of a new button until the description sets one.
    Bounds.Width = 80;
    Bounds.Height = 22;
    Place();
    form.AddControl(Button, -1);
  }

  bool SetProperty(const std::string& name, const TFormValue& value) override {
    const auto* setter = Registry().Find(name);
    if (!setter) return false;
    (*setter)(*this, value);
    return true;
  }

  void Place() {
    const QSize size = Bounds.PlatformDefault ? Button->sizeHint()
                                              : QSize(RoundToInt(Bounds.Width), RoundToInt(Bounds.Height));
    Button->setGeometry(RoundToInt(Bounds.X), RoundToInt(Bounds.Y), size.width(), size.height());
  }
  QWidget* Control() const { return Button; }
  void SetTabOrder(int order) { Form.SetTabOrderOf(Button, order); }

  static const TPropertyRegistry<TButtonBinding>& Registry() {
    static const TPropertyRegistry<TButtonBinding> registry = [] {
      TPropertyRegistry<TButtonBinding> r;
      AddControlProperties(r);
      r.Add("Text",
            [](TButtonBinding& b, const TFormValue& v) {
              b.Button->setText(QString::fromStdString(v.AsString()));
              b.Place();  // a platform default size follows the caption
            })
          .Add("OnClick", [](TButtonBinding& b, const TFormValue& v) {
            const TFormMethod method = b.Form.MethodByName(v.AsIdentifier());
            QPushButton* button = b.Button;
            QObject::disconnect(button, &QPushButton::clicked, nullptr, nullptr);
            QObject::connect(button, &QPushButton::clicked, &b.Form, [method, button] { method(button); });
          });
      return r;
    }();
    return registry;
  }

  TQtForm& Form;
  QPushButton* Button;
  TControlBounds Bounds;
};

// TChart: the engine's chart control, owned by the form, in a TChartWidget.
class TQtForm::TChartBinding : public IFormBinding {
 public:
  TChartBinding(TQtForm& form, const std::string& name) : Form(form) {
    Chart = new TChart(&form);  // owned by the form (TComponent)
    Chart->SetName(name);
    Widget = new TChartWidget(&form);
    Widget->setObjectName(QString::fromStdString(name));
    Chart->SetHostControl(Widget);
    Widget->SetClient(Chart);
    form.FChartWidgets.emplace_back(Chart, Widget);
    // The chart chose its construction size from the form; the widget follows.
    Bounds.X = Chart->Left();
    Bounds.Y = Chart->Top();
    Bounds.Width = Chart->Width();
    Bounds.Height = Chart->Height();
    Place();
    form.AddControl(Widget, -1);
  }

  bool SetProperty(const std::string& name, const TFormValue& value) override {
    const auto* setter = Registry().Find(name);
    if (!setter) return false;
    (*setter)(*this, value);
    return true;
  }
  // The stored properties are read inside the chart's loading brackets.
  void ReadProperties(const std::function<void()>& read) override { Chart->ReadState(read); }
  void Loaded() override { Chart->EndLoading(); }

  void Place() {
    const float w = Bounds.PlatformDefault ? Chart->Width() : static_cast<float>(Bounds.Width);
    const float h = Bounds.PlatformDefault ? Chart->Height() : static_cast<float>(Bounds.Height);
    Chart->SetBounds(static_cast<float>(Bounds.X), static_cast<float>(Bounds.Y), w, h);
    Widget->setGeometry(RoundToInt(Bounds.X), RoundToInt(Bounds.Y), RoundToInt(w), RoundToInt(h));
  }
  QWidget* Control() const { return Widget; }
  void SetTabOrder(int order) { Form.SetTabOrderOf(Widget, order); }

  static const TPropertyRegistry<TChartBinding>& Registry() {
    static const TPropertyRegistry<TChartBinding> registry = [] {
      TPropertyRegistry<TChartBinding> r;
      AddControlProperties(r);
      // Nested properties go through the objects the chart already owns.
      r.Add("Zoom.Brush.Kind",
            [](TChartBinding& b, const TFormValue& v) { b.Chart->Zoom()->Brush()->SetStyle(BrushKindValue(v)); })
          .Add("Zoom.Pen.Fill.Color",
               [](TChartBinding& b, const TFormValue& v) { b.Chart->Zoom()->Pen()->Fill()->SetColor(ColorValue(v)); })
          .Add("Title.Text.Strings",
               [](TChartBinding& b, const TFormValue& v) {
                 TKelStringList lines;
                 for (const std::string& line : v.AsStringList()) lines.Add(line);
                 b.Chart->Title()->SetLines(&lines);
               })
          .Add("Foot.Font.StyleExt",
               [](TChartBinding& b, const TFormValue& v) { ApplyStyleExt(*b.Chart->Foot()->Font(), v); })
          .Add("SubFoot.Font.StyleExt",
               [](TChartBinding& b, const TFormValue& v) { ApplyStyleExt(*b.Chart->SubFoot()->Font(), v); })
          .Add("Legend.Title.Font.StyleExt",
               [](TChartBinding& b, const TFormValue& v) {
                 ApplyStyleExt(*b.Chart->Legend()->Title()->Font(), v);
               })
          .Add("ColorPaletteIndex", [](TChartBinding& b, const TFormValue& v) {
            const int index = v.AsInteger();
            if (index < -2) throw EFormValueError("a palette index cannot be below -2, found " + v.Describe());
            b.Chart->SetColorPaletteIndex(index);
          });
      return r;
    }();
    return registry;
  }

  TQtForm& Form;
  TChart* Chart;
  TChartWidget* Widget;
  TControlBounds Bounds;
};

// ---- The form ---------------------------------------------------------------------------

TQtForm::TQtForm(TComponent* AOwner) : QWidget(nullptr), TComponent(AOwner) {}

TQtForm::~TQtForm() {
  // The charts go with the component part of the form, before the widgets:
  // cut the links in both directions first.
  for (auto& [chart, widget] : FChartWidgets) {
    widget->SetClient(nullptr);
    const_cast<TChart*>(chart)->SetHostControl(nullptr);
  }
}

void TQtForm::RegisterMethod(const std::string& name, TFormMethod method) {
  FMethods[Lower(name)] = std::move(method);
}

const TQtForm::TFormMethod& TQtForm::MethodByName(const std::string& name) const {
  const auto it = FMethods.find(Lower(name));
  if (it == FMethods.end()) throw EFormValueError("the form has no method " + name);
  return it->second;
}

TChartWidget* TQtForm::ChartWidget(const TChart* chart) const {
  for (const auto& [c, w] : FChartWidgets)
    if (c == chart) return w;
  return nullptr;
}

TComponent* TQtForm::FindComponent(const std::string& name) const {
  for (int i = 0; i < ComponentCount(); ++i)
    if (Lower(Components(i)->Name()) == Lower(name)) return Components(i);
  return nullptr;
}

void TQtForm::AddControl(QWidget* control, int tabOrder) { FControls.push_back({control, tabOrder}); }

void TQtForm::SetTabOrderOf(QWidget* control, int tabOrder) {
  for (TControlEntry& e : FControls)
    if (e.Control == control) e.TabOrder = tabOrder;
}

void TQtForm::ApplyTabOrder() {
  // Stored tab orders first in their order, then the rest as created.
  std::vector<TControlEntry> order = FControls;
  std::stable_sort(order.begin(), order.end(), [](const TControlEntry& a, const TControlEntry& b) {
    const bool aStored = a.TabOrder >= 0, bStored = b.TabOrder >= 0;
    if (aStored != bStored) return aStored;
    return aStored && a.TabOrder < b.TabOrder;
  });
  for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1].Control, order[i].Control);
}

void TQtForm::ApplyPosition() {
  switch (FPosition) {
    case poDesigned:
      move(FDesignLeft, FDesignTop);
      break;
    case poScreenCenter:
    case poDesktopCenter:
      if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = FPosition == poScreenCenter ? screen->availableGeometry() : screen->virtualGeometry();
        move(area.center() - rect().center());
      }
      break;
    case poDefault:
    case poDefaultPosOnly:
      break;  // the window system chooses
  }
}

void TQtForm::ReadDescription(const QString& resourcePath, const std::string& sourceName,
                              const std::string& className) {
  QFile file(resourcePath);
  if (!file.open(QIODevice::ReadOnly))
    throw EFormReadError(sourceName, 0, "the window description " + resourcePath.toStdString() + " is missing");
  const QByteArray data = file.readAll();
  ReadDescriptionText(std::string_view(data.constData(), static_cast<std::size_t>(data.size())), sourceName,
                      className);
}

void TQtForm::ReadDescriptionText(std::string_view text, const std::string& sourceName,
                                  const std::string& className) {
  const TFormObject root = ParseFormDescription(text, sourceName);
  TFormReader reader(sourceName);
  reader.RegisterClass("TButton", [this](const std::string& name) { return std::make_unique<TButtonBinding>(*this, name); });
  reader.RegisterClass("TChart", [this](const std::string& name) { return std::make_unique<TChartBinding>(*this, name); });
  SetName(root.Name);
  setObjectName(QString::fromStdString(root.Name));
  TFormBinding binding(*this);
  reader.Read(root, className, binding);
  ApplyTabOrder();
  ApplyPosition();
  BindComponents(sourceName);
  CallEvent(OnCreate, this);
}

}  // namespace sextant
