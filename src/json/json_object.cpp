#include "json/json_object.h"

#include "base/win1252.h"

namespace zw {
namespace {

// The value a new field gets for what a setter was given.
std::unique_ptr<TJsonBase> NewValueFor(const TJsonVariant& value) {
  if (const auto* flag = std::get_if<bool>(&value)) return TJsonBoolean::Generate(*flag);
  if (const auto* text = std::get_if<std::string>(&value)) {
    return TJsonString::Generate(Win1252ToUtf16(*text));
  }
  return TJsonNumber::Generate(VariantToDouble(value, kVariantDecimalSeparator));
}

}  // namespace

void TJsonObject::SetBoolean(const std::string& name, bool value) { SetOrAdd(name, value); }

void TJsonObject::SetInteger(const std::string& name, std::int32_t value) { SetOrAdd(name, value); }

void TJsonObject::SetCurrency(const std::string& name, Currency value) { SetOrAdd(name, value); }

void TJsonObject::SetDouble(const std::string& name, double value) { SetOrAdd(name, value); }

void TJsonObject::SetString(const std::string& name, std::string_view value) {
  // A new field's text goes straight into its string value, without a variant's copy of it.
  std::u16string wide_name = Win1252ToUtf16(name);
  if (TJsonBase* existing = FieldByName(wide_name)) {
    existing->SetValue(std::string(value));
    return;
  }
  Add(std::move(wide_name), TJsonString::Generate(Win1252ToUtf16(value)));
}

void TJsonObject::SetOrAdd(const std::string& name, const TJsonVariant& value) {
  std::u16string wide_name = Win1252ToUtf16(name);
  if (TJsonBase* existing = FieldByName(wide_name)) {
    existing->SetValue(value);
    return;
  }
  Add(std::move(wide_name), NewValueFor(value));
}

TJsonBase* TJsonObject::Field(const TJsonVariant& key) {
  if (const auto* name = std::get_if<std::string>(&key)) return FieldByName(Win1252ToUtf16(*name));
  return TJsonCustomList::Field(key);
}

JsonKind TJsonObject::Kind() const { return JsonKind::jsObject; }

TJsonBase* TJsonObject::NameAndChild(int index, std::string& name) const {
  name = Utf16ToWin1252(NameOf(index));
  return FieldByIndex(index);
}

int TJsonObject::Add(std::u16string name, std::unique_ptr<TJsonBase> value) {
  if (value == nullptr) return -1;
  auto field = std::make_unique<TJsonObjectField>(std::move(name), std::move(value));
  const TJsonObjectField& added = *field;
  const int index = AddChild(std::move(field));
  if (use_name_tree_) name_tree_.Insert(added.Name(), index);
  return index;
}

int TJsonObject::IndexOfName(std::u16string_view name) const {
  if (use_name_tree_) return name_tree_.Find(name);
  for (int i = 0; i < Count(); ++i) {
    const auto* field = dynamic_cast<const TJsonObjectField*>(Child(i));
    if (field != nullptr && field->Name() == name) return i;
  }
  return -1;
}

TJsonBase* TJsonObject::FieldByName(std::u16string_view name) const {
  const auto* field = dynamic_cast<const TJsonObjectField*>(Child(IndexOfName(name)));
  return field == nullptr ? nullptr : field->Value();
}

std::u16string TJsonObject::NameOf(int index) const {
  const auto* field = dynamic_cast<const TJsonObjectField*>(Child(index));
  return field == nullptr ? std::u16string() : field->Name();
}

TJsonBase* TJsonObject::FieldByIndex(int index) const {
  const std::u16string name = NameOf(index);
  return name.empty() ? nullptr : FieldByName(name);
}

TJsonBase* TJsonObject::ReadTarget(int index) const { return FieldByIndex(index); }

}  // namespace zw
