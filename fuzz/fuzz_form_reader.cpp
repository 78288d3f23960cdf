// Fuzz target: the stored window description reader, on any text.
//
// Parsing either gives a tree or raises EFormReadError; applying the tree to
// objects of a few registered classes either succeeds or raises
// EFormReadError. Nothing else may escape. Checks: a tree's objects and
// properties carry line numbers inside the text, names are identifiers and
// nested object names are unique (case-insensitively) within their parent;
// an error names the source and a line inside the text, with a reason.
#include <algorithm>
#include <set>
#include <string>
#include <string_view>

#include "app/form_reader.h"
#include "fuzz/fuzz_support.h"

using namespace sextant;

namespace {

const std::string kSource = "fuzz.dfm";

bool IsIdentifier(const std::string& s, bool dotted) {
  if (s.empty()) return false;
  bool start = true;
  for (char c : s) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    const bool digit = c >= '0' && c <= '9';
    if (dotted && c == '.' && !start) {
      start = true;
      continue;
    }
    if (start ? !letter : !(letter || digit)) return false;
    start = false;
  }
  return !start;
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

void CheckTree(const TFormObject& o, int lines) {
  FUZZ_CHECK(o.Line >= 1 && o.Line <= lines, "object line " + std::to_string(o.Line));
  FUZZ_CHECK(IsIdentifier(o.Name, false) && IsIdentifier(o.ClassName, false), "object names: " + o.Name);
  for (const TFormProperty& p : o.Properties) {
    FUZZ_CHECK(p.Line >= o.Line && p.Line <= lines, "property line " + std::to_string(p.Line));
    FUZZ_CHECK(IsIdentifier(p.Name, true), "property name " + p.Name);
    (void)p.Value.Describe();
  }
  std::set<std::string> names;
  for (const TFormObject& c : o.Children) {
    FUZZ_CHECK(names.insert(Lower(c.Name)).second, "duplicate child " + c.Name);
    CheckTree(c, lines);
  }
}

// Takes every property and reads its value with every typed accessor; a
// property named "Strict..." must be an integer (the accessor's error is the
// reader's to report).
class TAnyBinding : public IFormBinding {
 public:
  explicit TAnyBinding(bool container) : FContainer(container) {}
  bool SetProperty(const std::string& name, const TFormValue& value) override {
    if (Lower(name).rfind("unknown", 0) == 0) return false;
    if (Lower(name).rfind("strict", 0) == 0) (void)value.AsInteger();
    TryAll(value);
    return true;
  }
  bool CanContainObjects() const override { return FContainer; }
  void Loaded() override { ++LoadedCalls; }
  int LoadedCalls = 0;

 private:
  static void TryAll(const TFormValue& v) {
    auto attempt = [](auto f) {
      try {
        f();
      } catch (const EFormValueError& e) {
        FUZZ_CHECK(e.what()[0] != '\0', "accessor error without a message");
      }
    };
    attempt([&] { (void)v.AsInteger(); });
    attempt([&] { (void)v.AsFloat(); });
    attempt([&] { (void)v.AsBoolean(); });
    attempt([&] { (void)v.AsString(); });
    attempt([&] { (void)v.AsIdentifier(); });
    attempt([&] { (void)v.AsIdentifierOf({"alClient", "alNone", "True"}); });
    attempt([&] { (void)v.AsSet(); });
    attempt([&] { (void)v.AsBinary(); });
    attempt([&] { (void)v.AsStringList(); });
  }
  bool FContainer;
};

void CheckError(const EFormReadError& e, int lines) {
  const std::string prefix = kSource + " line " + std::to_string(e.Line()) + ": ";
  FUZZ_CHECK(std::string(e.what()).rfind(prefix, 0) == 0, std::string("error message: ") + e.what());
  FUZZ_CHECK(e.Line() >= 1 && e.Line() <= lines, std::string("error line: ") + e.what());
  FUZZ_CHECK(!e.Reason().empty(), "error without a reason");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string_view text(reinterpret_cast<const char*>(Data), Size);
  const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  TFormObject root;
  try {
    root = ParseFormDescription(text, kSource);
  } catch (const EFormReadError& e) {
    CheckError(e, lines);
    return 0;
  } catch (const std::exception& e) {
    FUZZ_CHECK(false, std::string("parser raised something else: ") + e.what());
  }
  CheckTree(root, lines);

  TFormReader reader(kSource);
  reader.RegisterClass("TChart", [](const std::string&) { return std::make_unique<TAnyBinding>(false); });
  reader.RegisterClass("TPanel", [](const std::string&) { return std::make_unique<TAnyBinding>(true); });
  reader.RegisterClass("TBad", [](const std::string& name) -> std::unique_ptr<IFormBinding> {
    throw EFormValueError("cannot make " + name);
  });
  TAnyBinding rootBinding(true);
  try {
    reader.Read(root, "TForm1", rootBinding);
    FUZZ_CHECK(rootBinding.LoadedCalls == 1, "Loaded once");
  } catch (const EFormReadError& e) {
    CheckError(e, lines);
    FUZZ_CHECK(rootBinding.LoadedCalls == 0, "no Loaded after an error");
  } catch (const std::exception& e) {
    FUZZ_CHECK(false, std::string("reader raised something else: ") + e.what());
  }
  return 0;
}
