// Contents:
//   [Errors and values]  EFormReadError, TFormValue accessors
//   [Scanner]            characters to tokens, with line numbers
//   [Parser]             tokens to the TFormObject tree
//   [Reader]             the tree onto live objects
#include "app/form_reader.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <set>

namespace sextant {

// =============================================================================
// [Errors and values]
// =============================================================================

EFormReadError::EFormReadError(const std::string& source, int line, const std::string& message)
    : std::runtime_error(source + " line " + std::to_string(line) + ": " + message), FLine(line),
      FReason(message) {}

namespace {

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

bool SameWord(const std::string& a, const char* b) { return Lower(a) == Lower(b); }

// Printable form of a string value for messages (long texts shortened).
std::string Quote(const std::string& s) {
  std::string out = "'";
  for (std::size_t i = 0; i < s.size() && i < 40; ++i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 32) {
      out += "#" + std::to_string(c);
    } else {
      out += static_cast<char>(c);
      if (c == '\'') out += '\'';
    }
  }
  if (s.size() > 40) out += "...";
  return out + "'";
}

}  // namespace

std::string TFormValue::Describe() const {
  switch (Kind) {
    case vkInteger: return "integer " + std::to_string(Integer);
    case vkFloat: {
      char buffer[64];
      std::snprintf(buffer, sizeof buffer, "%Lg", Float);
      return std::string("number ") + buffer;
    }
    case vkString: return "string " + Quote(Text);
    case vkIdentifier: return "identifier " + Text;
    case vkSet: {
      std::string s = "set [";
      for (std::size_t i = 0; i < Items.size(); ++i) s += (i ? ", " : "") + Items[i];
      return s + "]";
    }
    case vkBinary: return "binary data of " + std::to_string(Bytes.size()) + " bytes";
    case vkList: return "list of " + std::to_string(List.size()) + " items";
  }
  return "value";
}

int TFormValue::AsInteger() const {
  if (Kind != vkInteger) throw EFormValueError("expected an integer, found " + Describe());
  if (Integer < std::numeric_limits<int>::min() || Integer > std::numeric_limits<int>::max())
    throw EFormValueError("integer " + std::to_string(Integer) + " is out of range");
  return static_cast<int>(Integer);
}

double TFormValue::AsFloat() const {
  if (Kind == vkInteger) return static_cast<double>(Integer);
  if (Kind != vkFloat) throw EFormValueError("expected a number, found " + Describe());
  if (!std::isfinite(static_cast<double>(Float)))
    throw EFormValueError("number " + Describe() + " is out of range");
  return static_cast<double>(Float);
}

bool TFormValue::AsBoolean() const {
  if (Kind == vkIdentifier) {
    if (SameWord(Text, "True")) return true;
    if (SameWord(Text, "False")) return false;
  }
  throw EFormValueError("expected True or False, found " + Describe());
}

const std::string& TFormValue::AsString() const {
  if (Kind != vkString) throw EFormValueError("expected a string, found " + Describe());
  return Text;
}

const std::string& TFormValue::AsIdentifier() const {
  if (Kind != vkIdentifier) throw EFormValueError("expected an identifier, found " + Describe());
  return Text;
}

const std::string& TFormValue::AsIdentifierOf(const std::vector<std::string>& allowed) const {
  const std::string& id = AsIdentifier();
  if (std::find(allowed.begin(), allowed.end(), id) != allowed.end()) return id;
  std::string list;
  for (std::size_t i = 0; i < allowed.size(); ++i) list += (i ? ", " : "") + allowed[i];
  throw EFormValueError("expected one of " + list + ", found identifier " + id);
}

const std::vector<std::string>& TFormValue::AsSet() const {
  if (Kind != vkSet) throw EFormValueError("expected a set, found " + Describe());
  return Items;
}

const std::vector<std::uint8_t>& TFormValue::AsBinary() const {
  if (Kind != vkBinary) throw EFormValueError("expected binary data, found " + Describe());
  return Bytes;
}

std::vector<std::string> TFormValue::AsStringList() const {
  if (Kind != vkList) throw EFormValueError("expected a list of strings, found " + Describe());
  std::vector<std::string> out;
  out.reserve(List.size());
  for (const TFormValue& item : List) {
    if (item.Kind != vkString) throw EFormValueError("expected a list of strings, found an item " + item.Describe());
    out.push_back(item.Text);
  }
  return out;
}

// =============================================================================
// [Scanner]
// =============================================================================

namespace {

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return c - 'A' + 10;
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

class TParser {
 public:
  TParser(std::string_view text, const std::string& source) : FText(text), FSource(source) {
    if (FText.substr(0, 3) == "\xEF\xBB\xBF") FPos = 3;  // UTF-8 byte order mark
  }

  TFormObject ParseRoot() {
    SkipBlanks();
    if (AtEnd()) Fail("the description is empty");
    TFormObject root = ParseObject();
    SkipBlanks();
    if (!AtEnd()) Fail("unexpected text after the end of object " + root.Name);
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& message) const { throw EFormReadError(FSource, FLine, message); }
  [[noreturn]] void FailAt(int line, const std::string& message) const {
    throw EFormReadError(FSource, line, message);
  }

  bool AtEnd() const { return FPos >= FText.size(); }

  // The line of the last character that is not blank (for errors at the end).
  int LastLine() const {
    std::size_t end = FText.size();
    int line = FLine;
    while (end > 0) {
      const char c = FText[end - 1];
      if (c != ' ' && c != '\t' && c != '\r' && c != '\n') break;
      if (c == '\n') --line;
      --end;
    }
    return std::max(line, 1);
  }
  char Peek(std::size_t ahead = 0) const {
    return FPos + ahead < FText.size() ? FText[FPos + ahead] : '\0';
  }
  char Next() {
    const char c = FText[FPos++];
    if (c == '\n') ++FLine;
    return c;
  }

  void SkipBlanks() {
    while (!AtEnd()) {
      const char c = Peek();
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v')
        Next();
      else
        break;
    }
  }

  // What the next characters are, for messages.
  std::string Found() const {
    if (AtEnd()) return "the end of the text";
    std::string word;
    std::size_t p = FPos;
    while (p < FText.size() && word.size() < 20 && FText[p] != '\n' && FText[p] != '\r' && FText[p] != ' ')
      word += FText[p++];
    return "'" + word + "'";
  }

  std::string Identifier() {
    if (!IsIdentStart(Peek())) Fail("expected a name, found " + Found());
    std::string s;
    while (IsIdentChar(Peek())) s += Next();
    return s;
  }

  // A name with optional dotted parts: Title.Text.Strings
  std::string DottedName() {
    std::string s = Identifier();
    while (Peek() == '.' && IsIdentStart(Peek(1))) {
      s += Next();
      s += Identifier();
    }
    return s;
  }

  // Objects and lists nest by recursion; a bound on the depth keeps a
  // malformed or hostile text from exhausting the stack.
  class TNesting {
   public:
    explicit TNesting(TParser& parser) : FParser(parser) {
      if (++FParser.FDepth > KelFormMaxNesting)
        FParser.Fail("objects and lists nested deeper than " + std::to_string(KelFormMaxNesting) + " levels");
    }
    ~TNesting() { --FParser.FDepth; }
    TNesting(const TNesting&) = delete;
    TNesting& operator=(const TNesting&) = delete;

   private:
    TParser& FParser;
  };

  TFormObject ParseObject() {
    const TNesting nesting(*this);
    TFormObject object;
    object.Line = FLine;
    const std::string keyword = IsIdentStart(Peek()) ? PeekWord() : std::string();
    if (!SameWord(keyword, "object")) {
      if (SameWord(keyword, "inherited") || SameWord(keyword, "inline"))
        Fail("'" + keyword + "' objects are not supported; expected 'object'");
      Fail("expected 'object', found " + Found());
    }
    Identifier();
    SkipInline();
    object.Name = Identifier();
    SkipInline();
    if (Peek() != ':') Fail("expected ':' and a class name after object " + object.Name + ", found " + Found());
    Next();
    SkipInline();
    object.ClassName = Identifier();

    std::set<std::string> childNames;
    for (;;) {
      SkipBlanks();
      if (AtEnd())
        FailAt(LastLine(), "unexpected end of the text: 'end' missing for object " + object.Name + " (line " +
                               std::to_string(object.Line) + ")");
      if (!IsIdentStart(Peek())) Fail("expected a property, 'object' or 'end', found " + Found());
      const std::string word = PeekWord();
      if (SameWord(word, "end")) {
        Identifier();
        return object;
      }
      if (SameWord(word, "object") || SameWord(word, "inherited") || SameWord(word, "inline")) {
        TFormObject child = ParseObject();
        if (!childNames.insert(Lower(child.Name)).second)
          FailAt(child.Line, "duplicate object name " + child.Name);
        object.Children.push_back(std::move(child));
        continue;
      }
      if (!object.Children.empty()) Fail("property " + word + " after the nested objects of " + object.Name);
      TFormProperty property;
      property.Line = FLine;
      property.Name = DottedName();
      SkipInline();
      if (Peek() != '=') Fail("expected '=' after property " + property.Name + ", found " + Found());
      Next();
      SkipBlanks();
      property.Value = ParseValue(property.Name);
      object.Properties.push_back(std::move(property));
    }
  }

  std::string PeekWord() const {
    std::size_t p = FPos;
    std::string s;
    while (p < FText.size() && IsIdentChar(FText[p])) s += FText[p++];
    return s;
  }

  void SkipInline() {
    while (Peek() == ' ' || Peek() == '\t') Next();
  }

  // After a value only blanks or a closing bracket may follow directly.
  void ExpectDelimiter(const std::string& what) {
    const char c = Peek();
    if (AtEnd() || c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ')' || c == ']' || c == '}' ||
        c == ',' || c == '\f' || c == '\v')
      return;
    Fail("malformed " + what + ": unexpected " + Found());
  }

  TFormValue ParseValue(const std::string& property) {
    TFormValue v;
    const char c = Peek();
    if (AtEnd()) Fail("missing value of property " + property);
    if (c == '\'' || c == '#') return ParseString();
    if (IsDigit(c) || c == '-' || c == '+' || c == '$') return ParseNumber();
    if (IsIdentStart(c)) {
      v.Kind = TFormValue::vkIdentifier;
      v.Text = DottedName();
      ExpectDelimiter("identifier " + v.Text);
      return v;
    }
    if (c == '[') return ParseSet();
    if (c == '{') return ParseBinary();
    if (c == '(') return ParseList(property);
    if (c == '<') Fail("collection values are not supported (property " + property + ")");
    Fail("malformed value of property " + property + ": " + Found());
  }

  TFormValue ParseNumber() {
    const int line = FLine;
    std::string s;
    if (Peek() == '-' || Peek() == '+') s += Next();
    TFormValue v;
    if (Peek() == '$') {
      Next();
      std::string hex;
      while (IsHex(Peek())) hex += Next();
      if (hex.empty()) Fail("malformed number: '$' without hex digits");
      ExpectDelimiter("number");
      if (hex.size() > 16) FailAt(line, "number $" + hex + " is out of range");
      std::uint64_t u = 0;
      for (char h : hex) u = (u << 4) | static_cast<std::uint64_t>(HexValue(h));
      // Hex values are bit patterns: $FFFFFFFF reads as 4294967295.
      if (u > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
        FailAt(line, "number $" + hex + " is out of range");
      v.Kind = TFormValue::vkInteger;
      v.Integer = static_cast<std::int64_t>(u);
      if (s == "-") v.Integer = -v.Integer;
      return v;
    }
    if (!IsDigit(Peek())) Fail("malformed number: expected digits after '" + s + "', found " + Found());
    bool isFloat = false;
    while (IsDigit(Peek())) s += Next();
    if (Peek() == '.' && IsDigit(Peek(1))) {
      isFloat = true;
      s += Next();
      while (IsDigit(Peek())) s += Next();
    }
    if (Peek() == 'e' || Peek() == 'E') {
      isFloat = true;
      s += Next();
      if (Peek() == '-' || Peek() == '+') s += Next();
      if (!IsDigit(Peek())) Fail("malformed number " + s + ": missing exponent digits");
      while (IsDigit(Peek())) s += Next();
    }
    ExpectDelimiter("number " + s);
    errno = 0;
    if (isFloat) {
      v.Kind = TFormValue::vkFloat;
      v.Float = std::strtold(s.c_str(), nullptr);
      if (errno == ERANGE || !std::isfinite(static_cast<double>(v.Float)))
        FailAt(line, "number " + s + " is out of range");
    } else {
      v.Kind = TFormValue::vkInteger;
      v.Integer = std::strtoll(s.c_str(), nullptr, 10);
      if (errno == ERANGE) FailAt(line, "number " + s + " is out of range");
    }
    return v;
  }

  // 'text', #code and their concatenations, with '+' joining lines.
  TFormValue ParseString() {
    TFormValue v;
    v.Kind = TFormValue::vkString;
    std::uint32_t pendingHigh = 0;  // a UTF-16 high surrogate waiting for its pair
    int pendingLine = 0;
    for (;;) {
      if (Peek() == '\'') {
        if (pendingHigh) FailAt(pendingLine, "malformed string: unpaired surrogate character code");
        const int startLine = FLine;
        Next();
        for (;;) {
          if (AtEnd() || Peek() == '\n' || Peek() == '\r')
            FailAt(startLine, "malformed string: missing closing quote");
          const char c = Next();
          if (c == '\'') {
            if (Peek() == '\'') {
              v.Text += Next();
              continue;
            }
            break;
          }
          v.Text += c;
        }
      } else if (Peek() == '#') {
        Next();
        std::uint32_t code = 0;
        std::string digits;
        const bool hex = Peek() == '$';
        if (hex) {
          Next();
          while (IsHex(Peek()) && digits.size() < 8) digits += Next();
          for (char h : digits) code = (code << 4) | static_cast<std::uint32_t>(HexValue(h));
        } else {
          while (IsDigit(Peek()) && digits.size() < 8) digits += Next();
          for (char d : digits) code = code * 10 + static_cast<std::uint32_t>(d - '0');
        }
        if (digits.empty()) Fail("malformed string: '#' without a character code");
        if (hex ? IsHex(Peek()) : IsDigit(Peek())) Fail("malformed string: character code too long");
        if (code > 0xFFFF) Fail("malformed string: character code " + digits + " is out of range");
        // Codes are UTF-16 units; pairs of surrogates make one character.
        if (code >= 0xD800 && code <= 0xDBFF) {
          if (pendingHigh) Fail("malformed string: unpaired surrogate character code");
          pendingHigh = code;
          pendingLine = FLine;
        } else if (code >= 0xDC00 && code <= 0xDFFF) {
          if (!pendingHigh) Fail("malformed string: unpaired surrogate character code");
          AppendUtf8(v.Text, 0x10000 + ((pendingHigh - 0xD800) << 10) + (code - 0xDC00));
          pendingHigh = 0;
        } else {
          if (pendingHigh) Fail("malformed string: unpaired surrogate character code");
          AppendUtf8(v.Text, code);
        }
      } else {
        break;
      }
      // '+' continues the string, also on the next line.
      const std::size_t savePos = FPos;
      const int saveLine = FLine;
      SkipBlanks();
      if (Peek() == '+') {
        Next();
        SkipBlanks();
        if (Peek() != '\'' && Peek() != '#') Fail("malformed string: expected a string after '+', found " + Found());
      } else {
        FPos = savePos;
        FLine = saveLine;
        if (Peek() != '\'' && Peek() != '#') break;
      }
    }
    if (pendingHigh) FailAt(pendingLine, "malformed string: unpaired surrogate character code");
    ExpectDelimiter("string");
    return v;
  }

  TFormValue ParseSet() {
    const int line = FLine;
    TFormValue v;
    v.Kind = TFormValue::vkSet;
    Next();  // [
    SkipBlanks();
    if (Peek() == ']') {
      Next();
      return v;
    }
    for (;;) {
      SkipBlanks();
      if (AtEnd()) FailAt(line, "malformed set: missing ']'");
      if (!IsIdentStart(Peek())) Fail("malformed set: expected a name, found " + Found());
      v.Items.push_back(Identifier());
      SkipBlanks();
      if (Peek() == ',') {
        Next();
        continue;
      }
      if (Peek() == ']') {
        Next();
        break;
      }
      if (AtEnd()) FailAt(line, "malformed set: missing ']'");
      Fail("malformed set: expected ',' or ']', found " + Found());
    }
    ExpectDelimiter("set");
    return v;
  }

  TFormValue ParseBinary() {
    const int line = FLine;
    TFormValue v;
    v.Kind = TFormValue::vkBinary;
    Next();  // {
    int high = -1;
    for (;;) {
      if (AtEnd()) FailAt(line, "malformed binary value: missing '}'");
      const char c = Peek();
      if (c == '}') {
        Next();
        break;
      }
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
        Next();
        continue;
      }
      if (!IsHex(c)) Fail(std::string("malformed binary value: '") + c + "' is not a hex digit");
      Next();
      if (high < 0) {
        high = HexValue(c);
      } else {
        v.Bytes.push_back(static_cast<std::uint8_t>(high * 16 + HexValue(c)));
        high = -1;
      }
    }
    if (high >= 0) FailAt(line, "malformed binary value: odd number of hex digits");
    ExpectDelimiter("binary value");
    return v;
  }

  TFormValue ParseList(const std::string& property) {
    const TNesting nesting(*this);
    const int line = FLine;
    TFormValue v;
    v.Kind = TFormValue::vkList;
    Next();  // (
    for (;;) {
      SkipBlanks();
      if (AtEnd()) FailAt(line, "malformed list: missing ')'");
      if (Peek() == ')') {
        Next();
        break;
      }
      v.List.push_back(ParseValue(property));
    }
    ExpectDelimiter("list");
    return v;
  }

  std::string_view FText;
  const std::string& FSource;
  std::size_t FPos = 0;
  int FLine = 1;
  int FDepth = 0;  // objects and lists being parsed
};

}  // namespace

TFormObject ParseFormDescription(std::string_view text, const std::string& sourceName) {
  TParser parser(text, sourceName);
  return parser.ParseRoot();
}

// =============================================================================
// [Reader]
// =============================================================================

void TFormReader::RegisterClass(const std::string& className, TCreate create) {
  FClasses[className] = std::move(create);
}

void TFormReader::Read(const TFormObject& root, const std::string& rootClassName, IFormBinding& rootBinding) {
  if (root.ClassName != rootClassName)
    throw EFormReadError(FSource, root.Line,
                         "the description is of class " + root.ClassName + ", expected " + rootClassName);
  std::vector<std::unique_ptr<IFormBinding>> created;
  std::vector<IFormBinding*> loaded;
  ReadObject(root, rootBinding, created, loaded);
  for (IFormBinding* b : loaded) b->Loaded();
}

void TFormReader::ReadObject(const TFormObject& object, IFormBinding& binding,
                             std::vector<std::unique_ptr<IFormBinding>>& created,
                             std::vector<IFormBinding*>& loaded) {
  loaded.push_back(&binding);
  binding.ReadProperties([&] {
    for (const TFormProperty& p : object.Properties) {
      bool known = false;
      try {
        known = binding.SetProperty(p.Name, p.Value);
      } catch (const EFormValueError& e) {
        throw EFormReadError(FSource, p.Line,
                             "invalid value for property " + object.Name + "." + p.Name + ": " + e.what());
      }
      if (!known)
        throw EFormReadError(FSource, p.Line,
                             "unknown property " + p.Name + " of " + object.Name + " (class " + object.ClassName + ")");
    }
  });
  for (const TFormObject& child : object.Children) {
    if (!binding.CanContainObjects())
      throw EFormReadError(FSource, child.Line,
                           "object " + object.Name + " (class " + object.ClassName + ") cannot contain object " +
                               child.Name);
    const auto it = FClasses.find(child.ClassName);
    if (it == FClasses.end())
      throw EFormReadError(FSource, child.Line,
                           "unknown object class " + child.ClassName + " (object " + child.Name + ")");
    std::unique_ptr<IFormBinding> childBinding;
    try {
      childBinding = it->second(child.Name);
    } catch (const EFormValueError& e) {
      throw EFormReadError(FSource, child.Line, "cannot create object " + child.Name + ": " + e.what());
    }
    IFormBinding& ref = *childBinding;
    created.push_back(std::move(childBinding));
    ReadObject(child, ref, created, loaded);
  }
}

}  // namespace sextant
