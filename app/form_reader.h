// Reader of stored window descriptions.
//
// A description is text in the classic form-file format:
//
//   object Form1: TForm1
//     Caption = 'Form1'
//     ClientWidth = 956
//     Position = Designed
//     FormFactor.Devices = [Desktop]
//     object Chart1: TChart
//       Title.Text.Strings = (
//         'TChart')
//       Foot.Font.StyleExt = {00040000000200000004000000}
//     end
//   end
//
// Values are integers (decimal or $hex), floats, strings ('it''s',
// #13 character codes, '+' concatenation across lines), identifiers, sets
// [a, b], binary data {hex digits} and lists ('a' 'b'). Property names may be
// dotted paths into nested objects (Title.Text, Foot.Font.StyleExt).
//
// Reading happens in two steps: ParseFormDescription turns the text into a
// tree of TFormObject (no knowledge of any class), and TFormReader applies
// the tree to live objects through per-class property registries. Both
// steps fail with EFormReadError naming the source and line: malformed text,
// unknown object classes, unknown properties and values of the wrong kind.
//
// This file uses the standard library only.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sextant {

// A description could not be read; the message names source and line.
class EFormReadError : public std::runtime_error {
 public:
  EFormReadError(const std::string& source, int line, const std::string& message);
  int Line() const { return FLine; }
  // The message without the "source line N: " prefix.
  const std::string& Reason() const { return FReason; }

 private:
  int FLine;
  std::string FReason;
};

// A value of the wrong kind or out of range, raised by the value accessors
// and by property setters; the reader adds the source, line and property.
class EFormValueError : public std::runtime_error {
 public:
  explicit EFormValueError(const std::string& message) : std::runtime_error(message) {}
};

struct TFormValue {
  enum TKind { vkInteger, vkFloat, vkString, vkIdentifier, vkSet, vkBinary, vkList };
  TKind Kind = vkInteger;
  std::int64_t Integer = 0;
  long double Float = 0;
  std::string Text;                 // string (UTF-8) or identifier
  std::vector<std::string> Items;   // set members
  std::vector<std::uint8_t> Bytes;  // binary data
  std::vector<TFormValue> List;     // list items

  // The value for messages: "integer 12", "identifier Foo", "string 'x'" ...
  std::string Describe() const;

  // Typed access; each raises EFormValueError for a value of another kind.
  int AsInteger() const;             // an integer in the int range
  double AsFloat() const;            // an integer or a float
  bool AsBoolean() const;            // True or False
  const std::string& AsString() const;
  const std::string& AsIdentifier() const;
  // The identifier, which must be one of the allowed ones (exact case).
  const std::string& AsIdentifierOf(const std::vector<std::string>& allowed) const;
  const std::vector<std::string>& AsSet() const;
  const std::vector<std::uint8_t>& AsBinary() const;
  std::vector<std::string> AsStringList() const;  // a list of strings only
};

struct TFormProperty {
  std::string Name;  // possibly dotted
  TFormValue Value;
  int Line = 0;
};

struct TFormObject {
  std::string Name;
  std::string ClassName;
  int Line = 0;
  std::vector<TFormProperty> Properties;
  std::vector<TFormObject> Children;
};

// Deepest nesting of objects and lists (together) that a description may
// have; deeper texts fail with EFormReadError.
inline constexpr int KelFormMaxNesting = 100;

// Parses a whole description (one root object). sourceName appears in
// error messages.
TFormObject ParseFormDescription(std::string_view text, const std::string& sourceName);

// ---- Applying a description ------------------------------------------------------

// Setters of the properties of one class, by (dotted) name. Names compare
// case-insensitively, as in the classic format.
template <class T>
class TPropertyRegistry {
 public:
  using TSetter = std::function<void(T&, const TFormValue&)>;

  TPropertyRegistry& Add(const std::string& name, TSetter setter) {
    FSetters[Key(name)] = std::move(setter);
    return *this;
  }
  // Every property of another registry (a base class's).
  TPropertyRegistry& AddAll(const TPropertyRegistry& other) {
    for (const auto& [k, v] : other.FSetters) FSetters[k] = v;
    return *this;
  }
  const TSetter* Find(const std::string& name) const {
    const auto it = FSetters.find(Key(name));
    return it == FSetters.end() ? nullptr : &it->second;
  }

 private:
  static std::string Key(const std::string& name) {
    std::string k = name;
    for (char& c : k)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return k;
  }
  std::map<std::string, TSetter> FSetters;
};

// One live object that a description object is applied to.
class IFormBinding {
 public:
  virtual ~IFormBinding() = default;
  // Sets one property; false when the class has no such property. Raises
  // EFormValueError when the value does not suit the property.
  virtual bool SetProperty(const std::string& name, const TFormValue& value) = 0;
  // Runs read (which sets the object's own properties); components with
  // loading brackets wrap it.
  virtual void ReadProperties(const std::function<void()>& read) { read(); }
  // Whether nested objects may appear inside this one.
  virtual bool CanContainObjects() const { return false; }
  // Called for every object, in creation order, once everything was read.
  virtual void Loaded() {}
};

// Binding of an object of class T through a registry.
template <class T>
class TRegistryBinding : public IFormBinding {
 public:
  TRegistryBinding(T& object, const TPropertyRegistry<T>& registry) : FObject(object), FRegistry(registry) {}
  bool SetProperty(const std::string& name, const TFormValue& value) override {
    const auto* setter = FRegistry.Find(name);
    if (!setter) return false;
    (*setter)(FObject, value);
    return true;
  }

 protected:
  T& FObject;
  const TPropertyRegistry<T>& FRegistry;
};

class TFormReader {
 public:
  // Creates the live object for "object <name>: <class>" nested in the
  // description; called with the object's name.
  using TCreate = std::function<std::unique_ptr<IFormBinding>(const std::string& name)>;

  explicit TFormReader(std::string sourceName) : FSource(std::move(sourceName)) {}

  void RegisterClass(const std::string& className, TCreate create);

  // Applies the description: checks the root's class, sets the root's
  // properties, creates and fills the nested objects in order, then calls
  // Loaded on every object. Raises EFormReadError.
  void Read(const TFormObject& root, const std::string& rootClassName, IFormBinding& rootBinding);

  const std::string& SourceName() const { return FSource; }

 private:
  void ReadObject(const TFormObject& object, IFormBinding& binding,
                  std::vector<std::unique_ptr<IFormBinding>>& created, std::vector<IFormBinding*>& loaded);
  std::string FSource;
  std::map<std::string, TCreate> FClasses;
};

}  // namespace sextant
