#include "json/json_object.h"

#include <vector>

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

const TJsonObjectField* AsField(const TJsonBase* value) {
  if (value == nullptr || value->Class() != JsonClass::Field) return nullptr;
  return static_cast<const TJsonObjectField*>(value);
}

}  // namespace

TJsonObject::~TJsonObject() = default;

void TJsonObject::SetBoolean(std::string_view name, bool value) { SetOrAdd(name, value); }

void TJsonObject::SetInteger(std::string_view name, std::int32_t value) { SetOrAdd(name, value); }

void TJsonObject::SetCurrency(std::string_view name, Currency value) { SetOrAdd(name, value); }

void TJsonObject::SetDouble(std::string_view name, double value) { SetOrAdd(name, value); }

void TJsonObject::SetString(std::string_view name, std::string_view value) {
  if (packed_.Active() && packed_.Append(name, value)) return;
  SetStringField(name, value);
}

void TJsonObject::SetStringField(std::string_view name, std::string_view value) {
  NeedNodes();
  // A new field's text goes straight into its string value, without a variant's copy of it.
  std::u16string wide_name = Win1252ToUtf16(name);
  if (TJsonBase* existing = FieldByName(wide_name)) {
    existing->SetValue(std::string(value));
    return;
  }
  Add(std::move(wide_name), TJsonString::Generate(Win1252ToUtf16(value)));
}

void TJsonObject::SetOrAdd(std::string_view name, const TJsonVariant& value) {
  NeedNodes();
  std::u16string wide_name = Win1252ToUtf16(name);
  if (TJsonBase* existing = FieldByName(wide_name)) {
    existing->SetValue(value);
    return;
  }
  Add(std::move(wide_name), NewValueFor(value));
}

TJsonBase* TJsonObject::Child(int index) const {
  NeedNodes();
  return TJsonCustomList::Child(index);
}

void TJsonObject::SetChild(int index, std::unique_ptr<TJsonBase> value) {
  NeedNodes();
  TJsonCustomList::SetChild(index, std::move(value));
}

int TJsonObject::Count() const {
  return packed_.Active() ? packed_.Count() : TJsonCustomList::Count();
}

int TJsonObject::AddChild(std::unique_ptr<TJsonBase> value) {
  NeedNodes();
  return TJsonCustomList::AddChild(std::move(value));
}

void TJsonObject::Delete(int index) {
  NeedNodes();
  TJsonCustomList::Delete(index);
}

int TJsonObject::IndexOfChild(const TJsonBase* value) const {
  NeedNodes();
  return TJsonCustomList::IndexOfChild(value);
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
  NeedNodes();
  auto field = std::make_unique<TJsonObjectField>(std::move(name), std::move(value));
  const TJsonObjectField& added = *field;
  const int index = AddChild(std::move(field));
  if (use_name_tree_) {
    if (name_tree_ == nullptr) name_tree_ = std::make_unique<TJsonNameTree>();
    name_tree_->Insert(added.Name(), index);
  }
  return index;
}

int TJsonObject::IndexOfName(std::u16string_view name) const {
  NeedNodes();
  if (use_name_tree_) return name_tree_ == nullptr ? -1 : name_tree_->Find(name);
  for (int i = 0; i < Count(); ++i) {
    const TJsonObjectField* field = AsField(Child(i));
    if (field != nullptr && field->Name() == name) return i;
  }
  return -1;
}

TJsonBase* TJsonObject::FieldByName(std::u16string_view name) const {
  const TJsonObjectField* field = AsField(Child(IndexOfName(name)));
  return field == nullptr ? nullptr : field->Value();
}

std::u16string TJsonObject::NameOf(int index) const {
  const TJsonObjectField* field = AsField(Child(index));
  return field == nullptr ? std::u16string() : field->Name();
}

TJsonBase* TJsonObject::FieldByIndex(int index) const {
  const std::u16string name = NameOf(index);
  return name.empty() ? nullptr : FieldByName(name);
}

TJsonBase* TJsonObject::ReadTarget(int index) const { return FieldByIndex(index); }

void TJsonObject::Unpack() {
  // The fields and the name index are made aside and taken over at once, so that a failure
  // halfway leaves the packed members as they were.
  std::vector<std::unique_ptr<TJsonBase>> fields;
  fields.reserve(static_cast<std::size_t>(packed_.Count()));
  std::unique_ptr<TJsonNameTree> name_tree;
  if (use_name_tree_ && packed_.Count() > 0) name_tree = std::make_unique<TJsonNameTree>();
  packed_.ForEach([&](const TJsonNameShape& member, std::string_view text, bool) {
    std::u16string name = Win1252ToUtf16(member.Name());
    if (name_tree != nullptr) name_tree->Insert(name, static_cast<std::int32_t>(fields.size()));
    fields.push_back(std::make_unique<TJsonObjectField>(
        std::move(name), TJsonString::Generate(Win1252ToUtf16(text))));
  });
  packed_.Clear();
  name_tree_ = std::move(name_tree);
  AdoptChildren(std::move(fields));
}

}  // namespace zw
