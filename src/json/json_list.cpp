#include "json/json_list.h"

#include <cmath>
#include <limits>

#include "base/win1252.h"
#include "json/json_errors.h"

namespace zw {
namespace {

// Null stays null; a value of another class is a type-cast error.
template <typename T>
const T* As(const TJsonBase* value) {
  if (value == nullptr) return nullptr;
  const auto* typed = dynamic_cast<const T*>(value);
  if (typed == nullptr) throw TJsonTypeCastError();
  return typed;
}

}  // namespace

TJsonCustomList::~TJsonCustomList() {
  while (!children_.empty()) children_.pop_back();
}

TJsonBase* TJsonCustomList::Child(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return children_[static_cast<std::size_t>(index)].get();
}

void TJsonCustomList::SetChild(int index, std::unique_ptr<TJsonBase> value) {
  if (index < 0 || index >= Count()) return;
  auto& slot = children_[static_cast<std::size_t>(index)];
  slot.reset();
  slot = std::move(value);
}

int TJsonCustomList::Count() const { return static_cast<int>(children_.size()); }

TJsonBase* TJsonCustomList::Field(const TJsonVariant& key) {
  if (VariantIsNumeric(key)) return Child(VariantToIndex(key));
  return TJsonBase::Field(key);
}

TJsonBase* TJsonCustomList::NameAndChild(int index, std::string& name) const {
  name = std::to_string(index);
  return Child(index);
}

int TJsonCustomList::AddChild(std::unique_ptr<TJsonBase> value) {
  if (value == nullptr) return -1;
  // Most containers hold a few children: room for a dozen at once instead of five steps of
  // growth; a long list grows from there.
  if (children_.empty()) children_.reserve(16);
  children_.push_back(std::move(value));
  return Count() - 1;
}

void TJsonCustomList::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  const auto position = static_cast<std::size_t>(index);
  children_[position].reset();
  if (position + 1 < children_.size()) children_[position] = std::move(children_.back());
  children_.pop_back();
}

int TJsonCustomList::IndexOfChild(const TJsonBase* value) const {
  for (std::size_t i = 0; i < children_.size(); ++i) {
    if (children_[i].get() == value) return static_cast<int>(i);
  }
  return -1;
}

std::int32_t TJsonCustomList::GetInteger(int index) const {
  const TJsonNumber* number = As<TJsonNumber>(ReadTarget(index));
  if (number == nullptr) return 0;
  const double truncated = std::trunc(number->Value());
  if (!(truncated >= std::numeric_limits<std::int32_t>::min() &&
        truncated <= std::numeric_limits<std::int32_t>::max())) {
    throw TJsonConversionError("Double", "Integer");
  }
  return static_cast<std::int32_t>(truncated);
}

std::string TJsonCustomList::GetString(int index) const {
  const TJsonString* text = As<TJsonString>(ReadTarget(index));
  return text == nullptr ? std::string() : Utf16ToWin1252(text->Value());
}

std::u16string TJsonCustomList::GetWideString(int index) const {
  const TJsonString* text = As<TJsonString>(ReadTarget(index));
  return text == nullptr ? std::u16string() : text->Value();
}

double TJsonCustomList::GetDouble(int index) const {
  const TJsonNumber* number = As<TJsonNumber>(ReadTarget(index));
  return number == nullptr ? 0 : number->Value();
}

bool TJsonCustomList::GetBoolean(int index) const {
  const TJsonBoolean* flag = As<TJsonBoolean>(ReadTarget(index));
  return flag != nullptr && flag->Value();
}

TJsonBase* TJsonCustomList::ReadTarget(int index) const { return Child(index); }

JsonKind TJsonList::Kind() const { return JsonKind::jsList; }

}  // namespace zw
