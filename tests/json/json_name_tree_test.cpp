#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "json/json_name_tree.h"

namespace zw {
namespace {

using NodeId = TJsonNameTree::NodeId;

// Checks the AA-tree rules below a node and returns the number of nodes in its subtree.
// Names must ascend strictly in order; `previous` carries the last name visited.
std::size_t CheckSubtree(const TJsonNameTree& tree, NodeId id,
                         std::optional<std::u16string_view>* previous) {
  if (id == TJsonNameTree::kSentinel) return 0;
  const auto& node = tree.NodeAt(id);
  const auto& left = tree.NodeAt(node.Left);
  const auto& right = tree.NodeAt(node.Right);
  const auto& right_right = tree.NodeAt(right.Right);
  // A leaf has level 1; a left child is one level below; a right child is at the same level
  // or one below; a right grandchild is strictly below; a node above level 1 has two children.
  if (node.Left == TJsonNameTree::kSentinel && node.Right == TJsonNameTree::kSentinel) {
    EXPECT_EQ(node.Level, 1);
  }
  EXPECT_EQ(left.Level + 1, node.Level);
  EXPECT_TRUE(right.Level == node.Level || right.Level + 1 == node.Level);
  EXPECT_LT(right_right.Level, node.Level);
  if (node.Level > 1) {
    EXPECT_NE(node.Left, TJsonNameTree::kSentinel);
    EXPECT_NE(node.Right, TJsonNameTree::kSentinel);
  }
  std::size_t count = CheckSubtree(tree, node.Left, previous);
  if (previous->has_value()) {
    EXPECT_LT(**previous, tree.NameAt(id));
  }
  *previous = tree.NameAt(id);
  return count + 1 + CheckSubtree(tree, node.Right, previous);
}

std::u16string Name(int n) {
  const std::string text = "field" + std::to_string(n);
  return std::u16string(text.begin(), text.end());
}

TEST(JsonNameTree, AnEmptyTreeIsTheSentinelAndFindsNothing) {
  TJsonNameTree tree;
  EXPECT_EQ(tree.Root(), TJsonNameTree::kSentinel);
  const auto& sentinel = tree.NodeAt(TJsonNameTree::kSentinel);
  EXPECT_EQ(sentinel.Level, 0);
  EXPECT_EQ(sentinel.Left, TJsonNameTree::kSentinel);
  EXPECT_EQ(sentinel.Right, TJsonNameTree::kSentinel);
  EXPECT_EQ(tree.Find(u""), -1);
  EXPECT_EQ(tree.Find(u"a"), -1);
}

TEST(JsonNameTree, ThousandRandomInsertsStayBalancedAndAllAreFound) {
  std::vector<int> order(1000);
  for (int i = 0; i < 1000; ++i) order[i] = i;
  std::shuffle(order.begin(), order.end(), std::mt19937(20240611));
  TJsonNameTree tree;
  for (const int n : order) tree.Insert(Name(n), n * 3);

  std::optional<std::u16string_view> previous;
  EXPECT_EQ(CheckSubtree(tree, tree.Root(), &previous), 1000u);
  // An AA tree of 1000 nodes has its root at level 10 at most (2^10 > 1000).
  EXPECT_LE(tree.NodeAt(tree.Root()).Level, 10);
  for (int n = 0; n < 1000; ++n) EXPECT_EQ(tree.Find(Name(n)), n * 3) << n;
  EXPECT_EQ(tree.Find(u"field1000"), -1);
  EXPECT_EQ(tree.Find(u"field"), -1);
  EXPECT_EQ(tree.Find(u"Field1"), -1);  // case-sensitive
}

TEST(JsonNameTree, AscendingInsertsStayBalanced) {
  TJsonNameTree tree;
  for (int n = 0; n < 1000; ++n) tree.Insert(Name(n), n);
  std::optional<std::u16string_view> previous;
  EXPECT_EQ(CheckSubtree(tree, tree.Root(), &previous), 1000u);
}

TEST(JsonNameTree, APrefixOrdersBeforeTheLongerName) {
  TJsonNameTree tree;
  tree.Insert(u"ab", 1);
  tree.Insert(u"a", 0);
  tree.Insert(u"abc", 2);
  std::optional<std::u16string_view> previous;
  EXPECT_EQ(CheckSubtree(tree, tree.Root(), &previous), 3u);
  EXPECT_EQ(tree.Find(u"a"), 0);
  EXPECT_EQ(tree.Find(u"ab"), 1);
  EXPECT_EQ(tree.Find(u"abc"), 2);
}

TEST(JsonNameTree, NamesCompareByCodeUnitAboveTheAsciiRange) {
  TJsonNameTree tree;
  tree.Insert(u"\u20ac", 0);  // the euro sign, 0x20AC
  tree.Insert(u"\u00e4", 1);  // a umlaut, 0x00E4
  tree.Insert(u"z", 2);
  std::optional<std::u16string_view> previous;
  EXPECT_EQ(CheckSubtree(tree, tree.Root(), &previous), 3u);
  EXPECT_EQ(*previous, u"\u20ac");  // the largest name comes last
  EXPECT_EQ(tree.Find(u"\u00e4"), 1);
}

TEST(JsonNameTree, ADuplicateKeepsTheFirstIndex) {
  TJsonNameTree tree;
  tree.Insert(u"a", 0);
  tree.Insert(u"b", 1);
  tree.Insert(u"a", 2);
  EXPECT_EQ(tree.Find(u"a"), 0);
  EXPECT_EQ(tree.Size(), 2u);
}

TEST(JsonNameTree, ClearForgetsEveryName) {
  TJsonNameTree tree;
  for (int n = 0; n < 10; ++n) tree.Insert(Name(n), n);
  tree.Clear();
  EXPECT_EQ(tree.Root(), TJsonNameTree::kSentinel);
  EXPECT_EQ(tree.Find(Name(3)), -1);
  tree.Insert(Name(3), 7);
  EXPECT_EQ(tree.Find(Name(3)), 7);
}

}  // namespace
}  // namespace zw
