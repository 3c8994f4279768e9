#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "json/json_list.h"
#include "json/json_name_tree.h"
#include "json/json_packed_members.h"

// The JSON object: named fields in insertion order with a name index.
namespace zw {

// One name/value pair of an object; owns its value. Reports the base kind.
class TJsonObjectField : public TJsonBase {
 public:
  TJsonObjectField(std::u16string name, std::unique_ptr<TJsonBase> value)
      : TJsonBase(JsonClass::Field), name_(std::move(name)), value_(std::move(value)) {}

  const std::u16string& Name() const { return name_; }
  TJsonBase* Value() const { return value_.get(); }

 private:
  std::u16string name_;
  std::unique_ptr<TJsonBase> value_;
};

// With UseNameTree, lookups by name go through the name index: the first field added under a
// name is found by it, and neither Delete nor SetChild changes it. The index is made with the
// first field. An object made by a TJsonArena keeps strings set by name packed until a caller
// needs their nodes (see TJsonPackedMembers); that is not visible through its operations.
class TJsonObject : public TJsonCustomList {
 public:
  explicit TJsonObject(bool use_name_tree = true)
      : TJsonCustomList(JsonClass::Object), use_name_tree_(use_name_tree) {}
  ~TJsonObject() override;

  // Set or add: an existing field takes the value by the variant rules (a failed conversion
  // raises TJsonConversionError); otherwise a field is appended with a new boolean, number
  // (currency as its amount) or string.
  void SetBoolean(std::string_view name, bool value) override;
  void SetInteger(std::string_view name, std::int32_t value) override;
  void SetCurrency(std::string_view name, Currency value) override;
  void SetDouble(std::string_view name, double value) override;
  void SetString(std::string_view name, std::string_view value) override;

  // The list operations, on the fields.
  TJsonBase* Child(int index) const override;
  void SetChild(int index, std::unique_ptr<TJsonBase> value) override;
  int Count() const override;
  int AddChild(std::unique_ptr<TJsonBase> value) override;
  void Delete(int index) override;
  int IndexOfChild(const TJsonBase* value) const override;

  // A text key gives FieldByName; a numeric key the field pair at that index.
  TJsonBase* Field(const TJsonVariant& key) override;
  JsonKind Kind() const override;
  // The name as 8-bit text and FieldByIndex.
  TJsonBase* NameAndChild(int index, std::string& name) const override;

  // Appends a field without looking for the name: a second field of a name is written out,
  // but lookups keep finding the first. A null value adds nothing and gives -1.
  int Add(std::u16string name, std::unique_ptr<TJsonBase> value);
  int IndexOfName(std::u16string_view name) const;
  // The value of the field at IndexOfName, or null.
  TJsonBase* FieldByName(std::u16string_view name) const;
  // Empty outside the range.
  std::u16string NameOf(int index) const;
  // FieldByName(NameOf(index)): with duplicate names, the first field's value.
  TJsonBase* FieldByIndex(int index) const;

  bool UseNameTree() const { return use_name_tree_; }
  // The members while they are packed, for the text form; null once they are nodes.
  const TJsonPackedMembers* PackedMembers() const { return packed_.Active() ? &packed_ : nullptr; }

 protected:
  TJsonBase* ReadTarget(int index) const override;

 private:
  friend class TJsonArena;
  TJsonObject(TJsonNameShape& no_names, bool use_name_tree) : TJsonObject(use_name_tree) {
    packed_ = TJsonPackedMembers(no_names);
  }

  void SetOrAdd(std::string_view name, const TJsonVariant& value);
  void SetStringField(std::string_view name, std::string_view value);
  // Turns packed members into fields, once. Only an object made by an arena is packed, and
  // such an object is never const itself, so const operations may do it too.
  void NeedNodes() const {
    if (packed_.Active()) const_cast<TJsonObject*>(this)->Unpack();
  }
  void Unpack();

  std::unique_ptr<TJsonNameTree> name_tree_;
  TJsonPackedMembers packed_;
  bool use_name_tree_;
};

}  // namespace zw
