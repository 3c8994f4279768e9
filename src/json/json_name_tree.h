#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The field-name index of a JSON object: an AA tree from name to field index.
namespace zw {

class TJsonNameTree {
 public:
  // Nodes live in one vector and link by position, so the tree owns every node through it.
  using NodeId = std::uint32_t;
  // Position 0 holds the sentinel: level 0, both links to itself. It stands for every empty
  // subtree; an empty tree's root is the sentinel.
  static constexpr NodeId kSentinel = 0;

  // The name lies in the tree's name store: NameLength units from NameStart.
  struct Node {
    NodeId Left = kSentinel;
    NodeId Right = kSentinel;
    std::uint8_t Level = 0;
    std::int32_t Index = -1;
    std::uint32_t NameStart = 0;
    std::uint32_t NameLength = 0;
  };

  TJsonNameTree();

  // Names compare by UTF-16 code unit, case-sensitive, a proper prefix first. A name that is
  // already present keeps its index.
  void Insert(std::u16string_view name, std::int32_t index);
  // The index stored under the name, or -1.
  std::int32_t Find(std::u16string_view name) const;
  // Frees every node.
  void Clear();

  // Read access to the structure, for walking and checking it.
  NodeId Root() const { return root_; }
  const Node& NodeAt(NodeId id) const { return nodes_[id]; }
  std::u16string_view NameAt(NodeId id) const {
    return std::u16string_view(names_).substr(nodes_[id].NameStart, nodes_[id].NameLength);
  }
  // Nodes besides the sentinel.
  std::size_t Size() const { return nodes_.size() - 1; }

 private:
  static constexpr std::size_t kFirstRoom = 16;

  NodeId InsertInto(NodeId subtree, std::u16string_view name, std::int32_t index);
  NodeId Skew(NodeId node);
  NodeId Split(NodeId node);

  // The names of all nodes one after another: one block for the whole tree instead of one per
  // name, as an object's fields are added by the hundred thousand.
  std::u16string names_;
  std::vector<Node> nodes_;
  NodeId root_ = kSentinel;
};

}  // namespace zw
