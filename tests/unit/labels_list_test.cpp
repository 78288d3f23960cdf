#include "series/labels_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canvas/kel_exceptions.h"

using namespace sextant;

namespace {

class LabelsListTest : public ::testing::Test {
 protected:
  int repaints = 0;
  TLabelsList labels{[this] { ++repaints; }};

  std::vector<std::string> Texts() const { return labels.List; }
};

}  // namespace

TEST_F(LabelsListTest, ReadOutsideTheListIsEmpty) {
  labels.SetLabels(1, "b");
  EXPECT_EQ(labels.Labels(-1), "");
  EXPECT_EQ(labels.Labels(0), "");
  EXPECT_EQ(labels.Labels(1), "b");
  EXPECT_EQ(labels.Labels(2), "");
  EXPECT_EQ(labels.Labels(1000000), "");
}

TEST_F(LabelsListTest, WritesGrowOnlyForNonEmptyTextAndAlwaysRepaint) {
  labels.SetLabels(3, "d");
  EXPECT_EQ(Texts(), (std::vector<std::string>{"", "", "", "d"}));
  EXPECT_TRUE(labels.IAnyEmpty);  // the padding entries are empty labels
  EXPECT_EQ(repaints, 1);

  labels.SetLabels(10, "");  // nothing to clear: no growth
  EXPECT_EQ(labels.Count(), 4);
  EXPECT_EQ(repaints, 2);

  labels.SetLabels(3, "");  // clears the existing entry, keeps the length
  EXPECT_EQ(Texts(), (std::vector<std::string>{"", "", "", ""}));
  EXPECT_EQ(repaints, 3);

  labels.SetLabels(0, "a");
  EXPECT_EQ(labels.Labels(0), "a");
  EXPECT_EQ(labels.Count(), 4);
}

TEST_F(LabelsListTest, AnyEmptyTracksEmptyLabels) {
  labels.SetLabels(0, "a");
  labels.InsertLabel(1, "b");
  EXPECT_FALSE(labels.IAnyEmpty);
  labels.InsertLabel(0, "");
  EXPECT_TRUE(labels.IAnyEmpty);
  labels.Clear();
  EXPECT_EQ(labels.Count(), 0);
  EXPECT_TRUE(labels.IAnyEmpty);  // "ever stored": Clear keeps it
}

TEST_F(LabelsListTest, InsertGrowsUpToTheIndex) {
  labels.InsertLabel(0, "x");
  labels.InsertLabel(0, "w");
  labels.InsertLabel(4, "z");  // list of 2: pads index 2 and 3
  EXPECT_EQ(Texts(), (std::vector<std::string>{"w", "x", "", "", "z"}));
  labels.InsertLabel(2, "y");
  EXPECT_EQ(Texts(), (std::vector<std::string>{"w", "x", "y", "", "", "z"}));
  EXPECT_EQ(repaints, 0);  // inserting is part of adding a point: the series repaints
}

TEST_F(LabelsListTest, DeleteOnlyWhereTheListReaches) {
  labels.List = {"a", "b", "c", "d"};
  labels.DeleteLabel(1);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"a", "c", "d"}));
  labels.DeleteLabel(3);
  labels.DeleteLabel(-1);
  EXPECT_EQ(labels.Count(), 3);
  labels.DeleteLabels(1, 100);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"a"}));
  labels.DeleteLabels(5, 2);
  labels.DeleteLabels(0, 0);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"a"}));
}

TEST_F(LabelsListTest, ExchangeMovesTextsEvenBeyondTheEnd) {
  labels.List = {"a", "b"};
  labels.Exchange(0, 1);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"b", "a"}));
  EXPECT_FALSE(labels.IAnyEmpty);
  labels.Exchange(4, 1);  // point 4 has no entry yet: the text moves there
  EXPECT_TRUE(labels.IAnyEmpty);  // point 1 is now unlabelled
  EXPECT_EQ(Texts(), (std::vector<std::string>{"b", "", "", "", "a"}));
  EXPECT_EQ(labels.Labels(4), "a");
  labels.Exchange(7, 9);  // neither exists
  EXPECT_EQ(labels.Count(), 5);
  labels.Exchange(2, 9);  // both read as empty
  EXPECT_EQ(labels.Count(), 5);
}

TEST_F(LabelsListTest, IndexOfLabelCaseRules) {
  labels.List = {"Alpha", "beta", "ALPHA", ""};
  EXPECT_EQ(labels.IndexOfLabel("alpha"), 0);
  EXPECT_EQ(labels.IndexOfLabel("BETA"), 1);
  EXPECT_EQ(labels.IndexOfLabel(""), 3);
  EXPECT_EQ(labels.IndexOfLabel("gamma"), -1);
  labels.SetCaseSensitive(true);
  EXPECT_EQ(labels.IndexOfLabel("ALPHA"), 2);
  EXPECT_EQ(labels.IndexOfLabel("alpha"), -1);
}

TEST_F(LabelsListTest, NegativeWriteIndexRaisesAndChangesNothing) {
  labels.List = {"a"};
  EXPECT_THROW(
      {
        try {
          labels.SetLabels(-1, "x");
        } catch (const ChartException& e) {
          EXPECT_STREQ(e.what(), "Label index -1 must be >= 0");
          throw;
        }
      },
      ChartException);
  EXPECT_THROW(labels.InsertLabel(-2, "x"), ChartException);
  EXPECT_THROW(labels.Exchange(0, -1), ChartException);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"a"}));
  EXPECT_EQ(repaints, 0);
}

TEST(LabelsList, WorksWithoutRepaintCallback) {
  TLabelsList labels;
  labels.SetLabels(0, "a");
  EXPECT_EQ(labels.Labels(0), "a");
}
