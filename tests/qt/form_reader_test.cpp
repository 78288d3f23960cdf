// Window descriptions: the parser (every value kind, line numbers, each
// malformed input with its message), the reader's class and property
// registries, and the Qt forms built from descriptions, the real TForm1
// included.
#include "app/form_reader.h"

#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "app/qt_form.h"
#include "app/unit1.h"
#include "axes/chart_axis.h"
#include "canvas/brush.h"
#include "canvas/pen.h"
#include "canvas/font.h"
#include "panel/legend.h"
#include "panel/titles.h"
#include "series/fast_line_series.h"
#include "panel/chart.h"
#include "platform/qt/chart_widget.h"
#include "qt_test_app.h"

namespace sextant {
namespace {

// ---- Parser --------------------------------------------------------------------------

const char* const kAllKinds =
    "object Form1: TForm1\n"                       // 1
    "  Left = 600\n"                               // 2
    "  Offset = -12\n"                             // 3
    "  Mask = $FF\n"                               // 4
    "  Ratio = 225.000000000000000000\n"           // 5
    "  Big = 1.5E3\n"                              // 6
    "  Caption = 'It''s'#13#10'two lines'\n"       // 7
    "  Long = 'first part ' +\n"                   // 8
    "    'second part'#$263A\n"                    // 9
    "  Position = Designed\n"                      // 10
    "  FormFactor.Devices = [Desktop, Tablet]\n"   // 11
    "  Empty = []\n"                               // 12
    "  Foot.Font.StyleExt = {00040000\n"           // 13
    "    000200000004000000}\n"                    // 14
    "  Title.Text.Strings = (\n"                   // 15
    "    'TChart'\n"                               // 16
    "    'second')\n"                              // 17
    "  object Button1: TButton\n"                  // 18
    "    TabOrder = 2\n"                           // 19
    "  end\n"                                      // 20
    "end\n";

TEST(FormParser, ReadsEveryValueKindWithItsLine) {
  const TFormObject root = ParseFormDescription(kAllKinds, "test.desc");
  EXPECT_EQ(root.Name, "Form1");
  EXPECT_EQ(root.ClassName, "TForm1");
  EXPECT_EQ(root.Line, 1);
  ASSERT_EQ(root.Properties.size(), 12u);
  const auto& p = root.Properties;

  EXPECT_EQ(p[0].Name, "Left");
  EXPECT_EQ(p[0].Line, 2);
  EXPECT_EQ(p[0].Value.Kind, TFormValue::vkInteger);
  EXPECT_EQ(p[0].Value.AsInteger(), 600);
  EXPECT_EQ(p[1].Value.AsInteger(), -12);
  EXPECT_EQ(p[2].Value.AsInteger(), 255);
  EXPECT_EQ(p[3].Value.Kind, TFormValue::vkFloat);
  EXPECT_DOUBLE_EQ(p[3].Value.AsFloat(), 225.0);
  EXPECT_DOUBLE_EQ(p[4].Value.AsFloat(), 1500.0);
  EXPECT_EQ(p[5].Value.AsString(), "It's\r\ntwo lines");
  EXPECT_EQ(p[6].Name, "Long");
  EXPECT_EQ(p[6].Line, 8);
  EXPECT_EQ(p[6].Value.AsString(), "first part second part\xE2\x98\xBA");  // U+263A in UTF-8
  EXPECT_EQ(p[7].Value.AsIdentifier(), "Designed");
  EXPECT_EQ(p[7].Line, 10);
  EXPECT_EQ(p[8].Name, "FormFactor.Devices");
  EXPECT_EQ(p[8].Value.AsSet(), (std::vector<std::string>{"Desktop", "Tablet"}));
  EXPECT_TRUE(p[9].Value.AsSet().empty());
  EXPECT_EQ(p[10].Name, "Foot.Font.StyleExt");
  EXPECT_EQ(p[10].Value.AsBinary(),
            (std::vector<std::uint8_t>{0x00, 0x04, 0, 0, 0, 0x02, 0, 0, 0, 0x04, 0, 0, 0}));
  EXPECT_EQ(p[11].Value.AsStringList(), (std::vector<std::string>{"TChart", "second"}));
  EXPECT_EQ(p[11].Line, 15);

  ASSERT_EQ(root.Children.size(), 1u);
  EXPECT_EQ(root.Children[0].Name, "Button1");
  EXPECT_EQ(root.Children[0].ClassName, "TButton");
  EXPECT_EQ(root.Children[0].Line, 18);
  EXPECT_EQ(root.Children[0].Properties[0].Line, 19);
}

TEST(FormParser, CrLfLineEndingsAndByteOrderMark) {
  const TFormObject root =
      ParseFormDescription("\xEF\xBB\xBFobject A: TA\r\n  X = 1\r\n\r\n  Y = 'y'\r\nend\r\n", "crlf.desc");
  ASSERT_EQ(root.Properties.size(), 2u);
  EXPECT_EQ(root.Properties[1].Line, 4);
  EXPECT_EQ(root.Properties[1].Value.AsString(), "y");
}

TEST(FormParser, MalformedTextsFailNamingTheLine) {
  const struct {
    const char* text;
    int line;
    const char* message;
  } cases[] = {
      {"", 1, "the description is empty"},
      {"objekt A: TA\nend\n", 1, "expected 'object', found 'objekt'"},
      {"inherited A: TA\nend\n", 1, "'inherited' objects are not supported"},
      {"object A TA\nend\n", 1, "expected ':' and a class name after object A"},
      {"object A: TA\n  X = 1\n", 2, "'end' missing for object A (line 1)"},
      {"object A: TA\n  X 1\nend\n", 2, "expected '=' after property X"},
      {"object A: TA\n  X = 'open\nend\n", 2, "malformed string: missing closing quote"},
      {"object A: TA\n  X = 12abc\nend\n", 2, "malformed number 12: unexpected 'abc'"},
      {"object A: TA\n  X = 1.5.6\nend\n", 2, "malformed number 1.5"},
      {"object A: TA\n  X = 99999999999999999999\nend\n", 2, "number 99999999999999999999 is out of range"},
      {"object A: TA\n  X = $\nend\n", 2, "malformed number: '$' without hex digits"},
      {"object A: TA\n  X = -\nend\n", 2, "malformed number: expected digits after '-'"},
      {"object A: TA\n  X = {0A1}\nend\n", 2, "malformed binary value: odd number of hex digits"},
      {"object A: TA\n  X = {0G}\nend\n", 2, "malformed binary value: 'G' is not a hex digit"},
      {"object A: TA\n  X = {00\nend\n", 3, "malformed binary value: 'n' is not a hex digit"},
      {"object A: TA\n  X = {00\n", 2, "malformed binary value: missing '}'"},
      {"object A: TA\n  X = [a, b\nend\n", 3, "malformed set: expected ',' or ']', found 'end'"},
      {"object A: TA\n  X = [a,, b]\nend\n", 2, "malformed set: expected a name, found ','"},
      {"object A: TA\n  X = (\n 'a'\n", 2, "malformed list: missing ')'"},
      {"object A: TA\n  X = <\n  item end>\nend\n", 2, "collection values are not supported (property X)"},
      {"object A: TA\n  X = #99999\nend\n", 2, "character code 99999 is out of range"},
      {"object A: TA\n  X = #\nend\n", 2, "'#' without a character code"},
      {"object A: TA\n  X = #$D800\nend\n", 2, "unpaired surrogate character code"},
      {"object A: TA\n  X = 'a' +\n  5\nend\n", 3, "expected a string after '+'"},
      {"object A: TA\n  X = @\nend\n", 2, "malformed value of property X: '@'"},
      {"object A: TA\n  X =\nend\n", 3, "'end' missing for object A (line 1)"},  // 'end' read as the value
      {"object A: TA\nend\ntrailing\n", 3, "unexpected text after the end of object A"},
      {"object A: TA\n  object B: TB\n  end\n  object b: TB\n  end\nend\n", 4, "duplicate object name b"},
      {"object A: TA\n  object B: TB\n  end\n  X = 1\nend\n", 4, "property X after the nested objects of A"},
  };
  for (const auto& c : cases) {
    try {
      ParseFormDescription(c.text, "bad.desc");
      ADD_FAILURE() << "no error for: " << c.text;
    } catch (const EFormReadError& e) {
      EXPECT_EQ(e.Line(), c.line) << c.text;
      EXPECT_NE(e.Reason().find(c.message), std::string::npos) << "message: " << e.what() << "\ntext: " << c.text;
      EXPECT_EQ(std::string(e.what()).rfind("bad.desc line " + std::to_string(c.line) + ": ", 0), 0u) << e.what();
    }
  }
}

TEST(FormParser, ValueAccessorsRejectOtherKinds) {
  const TFormObject root = ParseFormDescription(
      "object A: TA\n  F = 1.5\n  S = 'x'\n  I = Foo\n  N = 3000000000\n  L = ('a' 1)\nend\n", "v.desc");
  const auto& p = root.Properties;
  const auto message = [](auto f) {
    try {
      f();
    } catch (const EFormValueError& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(message([&] { p[0].Value.AsInteger(); }), "expected an integer, found number 1.5");
  EXPECT_EQ(message([&] { p[1].Value.AsFloat(); }), "expected a number, found string 'x'");
  EXPECT_EQ(message([&] { p[2].Value.AsBoolean(); }), "expected True or False, found identifier Foo");
  EXPECT_EQ(message([&] { p[2].Value.AsIdentifierOf({"Bar", "Baz"}); }),
            "expected one of Bar, Baz, found identifier Foo");
  EXPECT_EQ(message([&] { p[3].Value.AsInteger(); }), "integer 3000000000 is out of range");
  EXPECT_EQ(message([&] { p[4].Value.AsStringList(); }),
            "expected a list of strings, found an item integer 1");
  EXPECT_EQ(message([&] { p[1].Value.AsSet(); }), "expected a set, found string 'x'");
  EXPECT_DOUBLE_EQ(p[3].Value.AsFloat(), 3e9);  // integers are numbers too
}

// ---- Reader with registries --------------------------------------------------------------

struct TFakeObject {
  int Width = 0;
  std::string Caption;
  std::vector<std::string>* Log = nullptr;
};

class TFakeBinding : public TRegistryBinding<TFakeObject> {
 public:
  TFakeBinding(TFakeObject& o, const TPropertyRegistry<TFakeObject>& r, bool container, std::string name)
      : TRegistryBinding(o, r), FContainer(container), FName(std::move(name)) {}
  bool CanContainObjects() const override { return FContainer; }
  void ReadProperties(const std::function<void()>& read) override {
    FObject.Log->push_back("begin " + FName);
    read();
    FObject.Log->push_back("end " + FName);
  }
  void Loaded() override { FObject.Log->push_back("loaded " + FName); }

 private:
  bool FContainer;
  std::string FName;
};

class FormReaderTest : public ::testing::Test {
 protected:
  FormReaderTest() : FReader("fake.desc") {
    FRegistry.Add("Width", [](TFakeObject& o, const TFormValue& v) { o.Width = v.AsInteger(); })
        .Add("Title.Caption", [](TFakeObject& o, const TFormValue& v) { o.Caption = v.AsString(); });
    FReader.RegisterClass("TItem", [this](const std::string& name) {
      FItems.push_back(std::make_unique<TFakeObject>());
      FItems.back()->Log = &FLog;
      return std::make_unique<TFakeBinding>(*FItems.back(), FRegistry, false, name);
    });
    FRoot.Log = &FLog;
  }
  void Read(const char* text) {
    TFakeBinding binding(FRoot, FRegistry, true, "Root");
    FReader.Read(ParseFormDescription(text, "fake.desc"), "TRoot", binding);
  }
  std::string ErrorOf(const char* text) {
    try {
      Read(text);
    } catch (const EFormReadError& e) {
      return e.what();
    }
    return "no error";
  }

  TPropertyRegistry<TFakeObject> FRegistry;
  TFormReader FReader;
  TFakeObject FRoot;
  std::vector<std::unique_ptr<TFakeObject>> FItems;
  std::vector<std::string> FLog;
};

TEST_F(FormReaderTest, AppliesPropertiesCaseInsensitivelyAndLoadsAfterwards) {
  Read("object R: TRoot\n  width = 5\n  Title.Caption = 'c'\n  object I1: TItem\n    Width = 7\n  end\n"
       "  object I2: TItem\n  end\nend\n");
  EXPECT_EQ(FRoot.Width, 5);
  EXPECT_EQ(FRoot.Caption, "c");
  ASSERT_EQ(FItems.size(), 2u);
  EXPECT_EQ(FItems[0]->Width, 7);
  const std::vector<std::string> expected = {"begin Root", "end Root",    "begin I1",    "end I1",
                                             "begin I2",   "end I2",      "loaded Root", "loaded I1",
                                             "loaded I2"};
  EXPECT_EQ(FLog, expected);
}

TEST_F(FormReaderTest, ErrorsNameTheLineObjectAndProperty) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"object R: TOther\nend\n", "fake.desc line 1: the description is of class TOther, expected TRoot"},
      {"object R: TRoot\n  Height = 1\nend\n", "fake.desc line 2: unknown property Height of R (class TRoot)"},
      {"object R: TRoot\n\n  Width = 'wide'\nend\n",
       "fake.desc line 3: invalid value for property R.Width: expected an integer, found string 'wide'"},
      {"object R: TRoot\n  object F: TFoo\n  end\nend\n", "fake.desc line 2: unknown object class TFoo (object F)"},
      {"object R: TRoot\n  object I: TItem\n    object J: TItem\n    end\n  end\nend\n",
       "fake.desc line 3: object I (class TItem) cannot contain object J"},
      {"object R: TRoot\n  object I: TItem\n    Title.Caption = 5\n  end\nend\n",
       "fake.desc line 3: invalid value for property I.Title.Caption: expected a string, found integer 5"},
  };
  for (const auto& c : cases) {
    FLog.clear();
    EXPECT_EQ(ErrorOf(c.text), c.message);
  }
}

TEST_F(FormReaderTest, NothingIsLoadedWhenReadingFails) {
  ErrorOf("object R: TRoot\n  object I: TItem\n    Nope = 1\n  end\nend\n");
  for (const std::string& entry : FLog) EXPECT_EQ(entry.rfind("loaded", 0), std::string::npos) << entry;
}

// ---- Qt forms -----------------------------------------------------------------------------

class TTestForm : public TQtForm {
 public:
  TTestForm() {
    RegisterMethod("Created", [this](QObject* sender) {
      ++Created;
      CreatedSender = sender;
      ButtonAtCreate = findChild<QPushButton*>("B");
    });
    RegisterMethod("Clicked", [this](QObject* sender) {
      ++Clicks;
      ClickSender = sender;
    });
  }
  void Read(const std::string& text) { ReadDescriptionText(text, "form.desc", "TTestForm"); }

  int Created = 0, Clicks = 0;
  QObject* CreatedSender = nullptr;
  QObject* ClickSender = nullptr;
  QPushButton* ButtonAtCreate = nullptr;
};

const char* const kFormText =
    "object F: TTestForm\n"
    "  Left = 50\n"
    "  Top = 60\n"
    "  Caption = 'Test window'\n"
    "  ClientWidth = 500\n"
    "  ClientHeight = 300\n"
    "  Position = Designed\n"
    "  FormFactor.Width = 320\n"
    "  FormFactor.Height = 480\n"
    "  FormFactor.Devices = [Desktop]\n"
    "  OnCreate = Created\n"
    "  object C: TChart\n"
    "    Position.X = 10.5\n"
    "    Position.Y = 100\n"
    "    Size.Width = 300\n"
    "    Size.Height = 150\n"
    "    Size.PlatformDefault = False\n"
    "    TabOrder = 2\n"
    "  end\n"
    "  object B: TButton\n"
    "    Position.X = 20\n"
    "    Position.Y = 30\n"
    "    Size.Width = 120\n"
    "    Size.Height = 40\n"
    "    Size.PlatformDefault = False\n"
    "    TabOrder = 0\n"
    "    Text = 'Press me'\n"
    "    OnClick = Clicked\n"
    "  end\n"
    "  object D: TButton\n"
    "    Size.PlatformDefault = True\n"
    "    TabOrder = 1\n"
    "    Text = 'Default size'\n"
    "  end\n"
    "end\n";

// The next widget that Tab moves to.
QWidget* NextFocusable(QWidget* w) {
  do {
    w = w->nextInFocusChain();
  } while (w->focusPolicy() == Qt::NoFocus);
  return w;
}

TEST(QtFormDescription, BuildsTheWindowButtonAndChart) {
  TTestForm form;
  form.Read(kFormText);
  EXPECT_EQ(form.windowTitle(), "Test window");
  EXPECT_EQ(form.size(), QSize(500, 300));
  EXPECT_EQ(form.pos(), QPoint(50, 60));
  EXPECT_EQ(form.Position(), poDesigned);
  EXPECT_EQ(form.FormFactorWidth(), 320);
  EXPECT_EQ(form.FormFactorDevices(), std::vector<std::string>{"Desktop"});
  EXPECT_EQ(form.Name(), "F");

  auto* button = form.findChild<QPushButton*>("B");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->geometry(), QRect(20, 30, 120, 40));
  EXPECT_EQ(button->text(), "Press me");

  auto* chart = dynamic_cast<TChart*>(form.FindComponent("C"));
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(chart->Owner(), &form);
  EXPECT_FLOAT_EQ(chart->Left(), 10.5f);
  EXPECT_FLOAT_EQ(chart->Top(), 100);
  EXPECT_FLOAT_EQ(chart->Width(), 300);
  EXPECT_FLOAT_EQ(chart->Height(), 150);
  EXPECT_FALSE(chart->IsLoading());  // the loading brackets were closed
  EXPECT_EQ(chart->InitialSize, (TPointF{300, 150}));
  TChartWidget* widget = form.ChartWidget(chart);
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(widget->Client(), chart);
  EXPECT_EQ(chart->HostControl(), widget);
  EXPECT_EQ(widget->geometry(), QRect(11, 100, 300, 150));  // 10.5 rounds to the nearest pixel

  // The creation event ran once, after the components existed.
  EXPECT_EQ(form.Created, 1);
  EXPECT_EQ(form.CreatedSender, &form);
  EXPECT_EQ(form.ButtonAtCreate, button);

  auto* other = form.findChild<QPushButton*>("D");
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(other->size(), other->sizeHint());  // the platform's default size
  EXPECT_EQ(other->pos(), QPoint(0, 0));

  // Tab order follows TabOrder (B, D, C), not the order of the description.
  EXPECT_EQ(NextFocusable(button), other);
  EXPECT_EQ(NextFocusable(other), widget);
  EXPECT_EQ(NextFocusable(widget), button);

  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(form.Clicks, 1);
  EXPECT_EQ(form.ClickSender, button);
}

TEST(QtFormDescription, AChartOnANarrowFormStartsAtTheFormWidth) {
  TTestForm form;
  form.Read("object F: TTestForm\n  ClientWidth = 300\n  ClientHeight = 200\n"
            "  object C: TChart\n  end\nend\n");
  auto* chart = dynamic_cast<TChart*>(form.FindComponent("C"));
  ASSERT_NE(chart, nullptr);
  EXPECT_FLOAT_EQ(chart->Width(), 300);   // min(400, form width)
  EXPECT_FLOAT_EQ(chart->Height(), 200);  // min(250, form height)
  EXPECT_EQ(form.ChartWidget(chart)->size(), QSize(300, 200));
}

TEST(QtFormDescription, BadDescriptionsFailNamingTheLine) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"object F: TTestForm\n  OnCreate = Missing\nend\n",
       "form.desc line 2: invalid value for property F.OnCreate: the form has no method Missing"},
      {"object F: TTestForm\n  object B: TButton\n    OnClick = Nope\n  end\nend\n",
       "form.desc line 3: invalid value for property B.OnClick: the form has no method Nope"},
      {"object F: TTestForm\n  object B: TButton\n    Caption = 'x'\n  end\nend\n",
       "form.desc line 3: unknown property Caption of B (class TButton)"},
      {"object F: TTestForm\n  object C: TChart\n    Size.Width = -5\n  end\nend\n",
       "form.desc line 3: invalid value for property C.Size.Width: a size cannot be negative, found integer -5"},
      {"object F: TTestForm\n  object C: TChart\n    TabOrder = 'first'\n  end\nend\n",
       "form.desc line 3: invalid value for property C.TabOrder: expected an integer, found string 'first'"},
      {"object F: TTestForm\n  Position = Anywhere\nend\n",
       "form.desc line 2: invalid value for property F.Position: expected one of Designed, Default, "
       "DefaultPosOnly, ScreenCenter, DesktopCenter, found identifier Anywhere"},
      {"object F: TTestForm\n  object E: TEdit\n  end\nend\n", "form.desc line 2: unknown object class TEdit (object E)"},
      {"object F: TForm1\nend\n", "form.desc line 1: the description is of class TForm1, expected TTestForm"},
      {"object F: TTestForm\n  object C: TChart\n    Foot.Font.StyleExt = {000400000002}\n  end\nend\n",
       "form.desc line 3: invalid value for property C.Foot.Font.StyleExt: a font's StyleExt must hold 13 "
       "bytes, found 6"},
      {"object F: TTestForm\n  object C: TChart\n    Foot.Font.StyleExt = {000B0000000200000004000000}\n"
       "  end\nend\n",
       "form.desc line 3: invalid value for property C.Foot.Font.StyleExt: StyleExt value out of range: "
       "styles 0, weight 11, slant 2, stretch 4"},
      {"object F: TTestForm\n  object C: TChart\n    Zoom.Pen.Fill.Color = claPurplish\n  end\nend\n",
       "form.desc line 3: invalid value for property C.Zoom.Pen.Fill.Color: unknown colour identifier "
       "claPurplish"},
  };
  for (const auto& c : cases) {
    TTestForm form;
    try {
      form.Read(c.text);
      ADD_FAILURE() << "no error for " << c.text;
    } catch (const EFormReadError& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
    EXPECT_EQ(form.Created, 0);
  }
}

// The application's own window, from its compiled-in description.
TEST(MainForm, Form1IsBuiltFromItsStoredDescription) {
  TForm1 form;
  EXPECT_EQ(form.windowTitle(), "Form1");
  EXPECT_EQ(form.size(), QSize(956, 585));
  EXPECT_EQ(form.pos(), QPoint(600, 180));
  EXPECT_EQ(form.Name(), "Form1");
  EXPECT_EQ(form.FormFactorWidth(), 320);
  EXPECT_EQ(form.FormFactorHeight(), 480);

  ASSERT_NE(form.Button1, nullptr);
  EXPECT_EQ(form.Button1->geometry(), QRect(328, 32, 225, 46));
  EXPECT_EQ(form.Button1->text(), "Move Mark To The Center Of Callout");

  ASSERT_NE(form.Chart1, nullptr);
  EXPECT_EQ(form.Chart1->Owner(), &form);
  EXPECT_EQ(form.Chart1->Name(), "Chart1");
  EXPECT_FLOAT_EQ(form.Chart1->Left(), 40);
  EXPECT_FLOAT_EQ(form.Chart1->Top(), 96);
  EXPECT_FLOAT_EQ(form.Chart1->Width(), 817);
  EXPECT_FLOAT_EQ(form.Chart1->Height(), 433);
  EXPECT_EQ(form.Chart1->InitialSize, (TPointF{817, 433}));
  TChartWidget* widget = form.ChartWidget(form.Chart1);
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(widget->geometry(), QRect(40, 96, 817, 433));
  EXPECT_EQ(NextFocusable(form.Button1), widget);  // TabOrder 2, then 4
  EXPECT_EQ(NextFocusable(widget), form.Button1);
}

TEST(MainForm, StoredChartSettingsReachTheObjectsTheChartOwns) {
  TForm1 form;
  TChart& chart = *form.Chart1;
  ASSERT_TRUE(chart.Zoom()->HasBrush());
  EXPECT_EQ(chart.Zoom()->Brush()->Style(), THostBrushKind::None);
  ASSERT_TRUE(chart.Zoom()->HasPen());
  EXPECT_EQ(chart.Zoom()->Pen()->Color(), 0xFFC0C0C0u);
  EXPECT_EQ(chart.ColorPaletteIndex(), 13);
  EXPECT_EQ(chart.Title()->Text(), "TChart");
  for (TKelFont* f : {chart.Foot()->Font(), chart.SubFoot()->Font()}) {
    EXPECT_EQ(f->Style(), 0);
    EXPECT_EQ(f->Weight(), 4);   // regular
    EXPECT_EQ(f->Slant(), 2);    // oblique
    EXPECT_EQ(f->Stretch(), 4);  // regular
  }
  TKelFont* legendTitle = chart.Legend()->Title()->Font();
  EXPECT_EQ(legendTitle->Weight(), 7);  // bold
  EXPECT_EQ(legendTitle->Slant(), 0);
  EXPECT_EQ(legendTitle->Stretch(), 4);
  // Read while AutoRepaint was off; the chart repaints normally afterwards.
  EXPECT_TRUE(chart.AutoRepaint());
}

TEST(MainForm, FormCreateShowsTheLastPageOfOneFastLine) {
  TForm1 form;
  TChart& chart = *form.Chart1;
  ASSERT_EQ(chart.SeriesCount(), 1);
  auto* series = dynamic_cast<TFastLineSeries*>(chart.Series(0));
  ASSERT_NE(series, nullptr);
  EXPECT_EQ(series->Owner(), &form);
  EXPECT_EQ(series->Count(), 100);
  EXPECT_EQ(series->SeriesColor(), 0xFF4466A3u);
  EXPECT_FALSE(chart.View3D());
  EXPECT_EQ(chart.MaxPointsPerPage(), 10);
  EXPECT_EQ(chart.Page(), 10);
  // After a paint the bottom axis runs over the X values of points 90 to 99.
  form.grab();
  EXPECT_DOUBLE_EQ(chart.BottomAxis()->Minimum(), series->XValue(90));
  EXPECT_DOUBLE_EQ(chart.BottomAxis()->Maximum(), series->XValue(99));
  EXPECT_EQ(series->FirstValueIndex(), 90);
  EXPECT_EQ(series->LastValueIndex(), 99);
}

TEST(MainForm, ShowsTheChartPanelWithItsBevel) {
  TForm1 form;
  const QImage image = form.grab().toImage();
  ASSERT_EQ(image.size(), QSize(956, 585));
  EXPECT_EQ(image.pixelColor(40, 200).rgba(), 0xFFFFFFFFu);   // left bevel edge
  EXPECT_EQ(image.pixelColor(856, 200).rgba(), 0xFFA0A0A0u);  // right bevel edge
  EXPECT_EQ(image.pixelColor(448, 528).rgba(), 0xFFA0A0A0u);  // bottom bevel edge
  EXPECT_EQ(image.pixelColor(448, 96).rgba(), 0xFFFFFFFFu);   // top bevel edge
  EXPECT_EQ(image.pixelColor(42, 98).rgba(), 0xFFF0F0F0u);    // panel colour inside
}

}  // namespace
}  // namespace sextant
