#include "json/json_name_tree.h"

#include <limits>
#include <stdexcept>

namespace zw {

TJsonNameTree::TJsonNameTree() { nodes_.emplace_back(); }

void TJsonNameTree::Insert(std::u16string_view name, std::int32_t index) {
  root_ = InsertInto(root_, name, index);
}

std::int32_t TJsonNameTree::Find(std::u16string_view name) const {
  NodeId node = root_;
  while (node != kSentinel) {
    const int order = name.compare(NameAt(node));
    if (order == 0) return nodes_[node].Index;
    node = order < 0 ? nodes_[node].Left : nodes_[node].Right;
  }
  return -1;
}

void TJsonNameTree::Clear() {
  nodes_.resize(1);
  names_.clear();
  root_ = kSentinel;
}

// Returns the subtree's new root. Nodes are addressed by position after every recursive
// call, because adding a node may move the vector's storage.
TJsonNameTree::NodeId TJsonNameTree::InsertInto(NodeId subtree, std::u16string_view name,
                                                std::int32_t index) {
  if (subtree == kSentinel) {
    // An object of the order document has thirteen fields: room for them at once instead of
    // five steps of growth.
    if (nodes_.size() == 1) {
      nodes_.reserve(kFirstRoom + 1);
      names_.reserve(kFirstRoom * 8);
    }
    if (names_.size() + name.size() > std::numeric_limits<std::uint32_t>::max()) {
      throw std::length_error("name tree too large");
    }
    nodes_.push_back(Node{kSentinel, kSentinel, 1, index, static_cast<std::uint32_t>(names_.size()),
                          static_cast<std::uint32_t>(name.size())});
    names_.append(name);
    return static_cast<NodeId>(nodes_.size() - 1);
  }
  const int order = name.compare(NameAt(subtree));
  if (order < 0) {
    const NodeId left = InsertInto(nodes_[subtree].Left, name, index);
    nodes_[subtree].Left = left;
  } else if (order > 0) {
    const NodeId right = InsertInto(nodes_[subtree].Right, name, index);
    nodes_[subtree].Right = right;
  }
  return Split(Skew(subtree));
}

TJsonNameTree::NodeId TJsonNameTree::Skew(NodeId node) {
  const NodeId left = nodes_[node].Left;
  if (left == kSentinel || nodes_[left].Level != nodes_[node].Level) return node;
  nodes_[node].Left = nodes_[left].Right;
  nodes_[left].Right = node;
  return left;
}

TJsonNameTree::NodeId TJsonNameTree::Split(NodeId node) {
  const NodeId right = nodes_[node].Right;
  const NodeId right_right = nodes_[right].Right;
  if (right_right == kSentinel || nodes_[right_right].Level != nodes_[node].Level) return node;
  nodes_[node].Right = nodes_[right].Left;
  nodes_[right].Left = node;
  ++nodes_[right].Level;
  return right;
}

}  // namespace zw
