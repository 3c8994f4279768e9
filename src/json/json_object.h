#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "json/json_list.h"
#include "json/json_name_tree.h"

// The JSON object: named fields in insertion order with a name index.
namespace zw {

// One name/value pair of an object; owns its value. Reports the base kind.
class TJsonObjectField : public TJsonBase {
 public:
  TJsonObjectField(std::u16string name, std::unique_ptr<TJsonBase> value)
      : name_(std::move(name)), value_(std::move(value)) {}

  const std::u16string& Name() const { return name_; }
  TJsonBase* Value() const { return value_.get(); }

 private:
  std::u16string name_;
  std::unique_ptr<TJsonBase> value_;
};

class TJsonObject : public TJsonCustomList {
 public:
  explicit TJsonObject(bool use_name_tree = true) : use_name_tree_(use_name_tree) {}

  // Set or add: an existing field takes the value by the variant rules (a failed conversion
  // raises TJsonConversionError); otherwise a field is appended with a new boolean, number
  // (currency as its amount) or string.
  void SetBoolean(const std::string& name, bool value) override;
  void SetInteger(const std::string& name, std::int32_t value) override;
  void SetCurrency(const std::string& name, Currency value) override;
  void SetDouble(const std::string& name, double value) override;
  void SetString(const std::string& name, std::string_view value) override;

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
  const TJsonNameTree& NameTree() const { return name_tree_; }

 protected:
  TJsonBase* ReadTarget(int index) const override;

 private:
  void SetOrAdd(const std::string& name, const TJsonVariant& value);

  TJsonNameTree name_tree_;
  bool use_name_tree_;
};

}  // namespace zw
