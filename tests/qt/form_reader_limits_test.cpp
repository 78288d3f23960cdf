// Window descriptions at the parser's limits: nesting depth of objects and
// lists. (Deep texts used to exhaust the stack through recursion.)
#include "app/form_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace sextant {
namespace {

// A form whose property X holds Depth - 1 nested lists around 1, so that
// the root object and the lists nest Depth levels.
std::string NestedLists(int depth) {
  return "object Form1: TForm1\n  X = " + std::string(static_cast<std::size_t>(depth - 1), '(') + "1" +
         std::string(static_cast<std::size_t>(depth - 1), ')') + "\nend\n";
}

// Depth objects nested in each other, one per line.
std::string NestedObjects(int depth) {
  std::string text;
  for (int i = 0; i < depth; ++i) text += "object O" + std::to_string(i) + ": TPanel\n";
  for (int i = 0; i < depth; ++i) text += "end\n";
  return text;
}

void ExpectNestingError(const std::string& text, int line) {
  try {
    ParseFormDescription(text, "deep.desc");
    ADD_FAILURE() << "no error";
  } catch (const EFormReadError& e) {
    EXPECT_EQ(e.Line(), line);
    EXPECT_EQ(std::string(e.what()),
              "deep.desc line " + std::to_string(line) + ": objects and lists nested deeper than 100 levels");
  }
}

TEST(FormParserLimits, NestingUpToTheLimitReads) {
  const TFormObject lists = ParseFormDescription(NestedLists(KelFormMaxNesting), "deep.desc");
  const TFormValue* v = &lists.Properties.at(0).Value;
  int depth = 1;
  while (v->Kind == TFormValue::vkList) {
    ASSERT_EQ(v->List.size(), 1u);
    v = &v->List[0];
    ++depth;
  }
  EXPECT_EQ(depth, KelFormMaxNesting);
  EXPECT_EQ(v->AsInteger(), 1);

  const TFormObject objects = ParseFormDescription(NestedObjects(KelFormMaxNesting), "deep.desc");
  const TFormObject* o = &objects;
  for (int i = 1; i < KelFormMaxNesting; ++i) {
    ASSERT_EQ(o->Children.size(), 1u);
    o = &o->Children[0];
  }
  EXPECT_EQ(o->Name, "O" + std::to_string(KelFormMaxNesting - 1));
  EXPECT_TRUE(o->Children.empty());
}

TEST(FormParserLimits, DeeperNestingFailsWithoutExhaustingTheStack) {
  ExpectNestingError(NestedLists(KelFormMaxNesting + 1), 2);
  ExpectNestingError(NestedObjects(KelFormMaxNesting + 1), KelFormMaxNesting + 1);
  ExpectNestingError(NestedLists(200000), 2);
  ExpectNestingError(NestedObjects(50000), KelFormMaxNesting + 1);
}

}  // namespace
}  // namespace sextant
