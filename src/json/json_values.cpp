#include "json/json_values.h"

#include <array>

#include "base/win1252.h"
#include "json/json_arena.h"

namespace zw {
namespace {

void SetOnField(TJsonBase& self, std::string_view name, const TJsonVariant& value) {
  if (TJsonBase* field = self.Field(TJsonVariant(std::string(name)))) field->SetValue(value);
}

}  // namespace

std::string_view JsonKindName(JsonKind kind) {
  static constexpr std::array<std::string_view, 7> kNames = {
      "js_Base", "js_Number", "js_String", "js_Boolean", "js_Null", "js_List", "js_Object"};
  const auto number = static_cast<std::size_t>(kind);
  return number < kNames.size() ? kNames[number] : kNames[0];
}

void TJsonBase::operator delete(TJsonBase* value, std::destroying_delete_t) noexcept {
  const bool in_arena = value->in_arena_;
  // The start of the whole object, wherever the base lies within it.
  void* const room = dynamic_cast<void*>(value);
  value->~TJsonBase();
  if (in_arena) {
    TJsonArena::Release(room);
    return;
  }
  ::operator delete(room);
}

void TJsonBase::operator delete(void* room) noexcept { ::operator delete(room); }

void TJsonBase::SetBoolean(std::string_view name, bool value) { SetOnField(*this, name, value); }

void TJsonBase::SetInteger(std::string_view name, std::int32_t value) {
  SetOnField(*this, name, value);
}

void TJsonBase::SetCurrency(std::string_view name, Currency value) {
  SetOnField(*this, name, value);
}

void TJsonBase::SetDouble(std::string_view name, double value) { SetOnField(*this, name, value); }

void TJsonBase::SetString(std::string_view name, std::string_view value) {
  SetOnField(*this, name, std::string(value));
}

TJsonVariant TJsonBase::GetValue() const { return {}; }

void TJsonBase::SetValue(const TJsonVariant&) {}

TJsonBase* TJsonBase::Child(int) const { return nullptr; }

void TJsonBase::SetChild(int, std::unique_ptr<TJsonBase>) {}

int TJsonBase::Count() const { return 0; }

TJsonBase* TJsonBase::Field(const TJsonVariant&) { return this; }

JsonKind TJsonBase::Kind() const { return JsonKind::jsBase; }

std::string_view TJsonBase::KindName() const { return JsonKindName(Kind()); }

std::unique_ptr<TJsonNumber> TJsonNumber::Generate(double value) {
  return std::make_unique<TJsonNumber>(value);
}

TJsonVariant TJsonNumber::GetValue() const { return value_; }

void TJsonNumber::SetValue(const TJsonVariant& value) {
  value_ = VariantToDouble(value, kVariantDecimalSeparator);
}

JsonKind TJsonNumber::Kind() const { return JsonKind::jsNumber; }

std::unique_ptr<TJsonString> TJsonString::Generate(std::u16string value) {
  return std::make_unique<TJsonString>(std::move(value));
}

TJsonVariant TJsonString::GetValue() const { return Utf16ToWin1252(value_); }

void TJsonString::SetValue(const TJsonVariant& value) {
  value_ = Win1252ToUtf16(VariantToText(value, kVariantDecimalSeparator));
}

JsonKind TJsonString::Kind() const { return JsonKind::jsString; }

std::unique_ptr<TJsonBoolean> TJsonBoolean::Generate(bool value) {
  return std::make_unique<TJsonBoolean>(value);
}

TJsonVariant TJsonBoolean::GetValue() const { return value_; }

void TJsonBoolean::SetValue(const TJsonVariant& value) {
  value_ = VariantToBoolean(value, kVariantDecimalSeparator);
}

JsonKind TJsonBoolean::Kind() const { return JsonKind::jsBoolean; }

JsonKind TJsonNull::Kind() const { return JsonKind::jsNull; }

}  // namespace zw
