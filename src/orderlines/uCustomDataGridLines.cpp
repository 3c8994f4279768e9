#include "orderlines/uCustomDataGridLines.h"

#include <stdexcept>

#include "base/errors.h"

namespace zw {

void TCollectionItem::Assign(const TCollectionItem& source) {
  throw Error(std::string("Cannot assign a ") + source.ClassName() + " to a " + ClassName());
}

void TDataGridLine::Assign(const TCollectionItem& source) {
  const auto* line = dynamic_cast<const TDataGridLine*>(&source);
  if (line == nullptr) {
    TCollectionItem::Assign(source);
    return;
  }
  if (line == this) return;
  TCustomDataGridLines* owner = Collection();
  if (owner != nullptr) owner->BeginUpdate();
  try {
    for (const TDataGridLineProperty& property : DataGridLineProperties()) {
      if (property.Text != nullptr) this->*property.Text = line->*property.Text;
      if (property.Boolean != nullptr) this->*property.Boolean = line->*property.Boolean;
      if (property.Integer != nullptr) this->*property.Integer = line->*property.Integer;
    }
  } catch (...) {
    if (owner != nullptr) owner->EndUpdate();
    throw;
  }
  if (owner != nullptr) owner->EndUpdate();
}

const std::array<TDataGridLineProperty, 24>& DataGridLineProperties() {
  using L = TDataGridLine;
  static const std::array<TDataGridLineProperty, 24> properties = {{
      {"Stueck", &L::Stueck},
      {"Einheit", &L::Einheit},
      {"Bezeichnung1", &L::Bezeichnung1},
      {"Bezeichnung2", &L::Bezeichnung2},
      {"BestellNummer", &L::BestellNummer},
      {"Seriennummer", &L::Seriennummer},
      {"Artikelnummer", &L::Artikelnummer},
      {"Einzelbetrag", &L::Einzelbetrag},
      {"Steuer", &L::Steuer},
      {"SummeBetrag", &L::SummeBetrag},
      {"intern", &L::intern},
      {"ID_Artikel", &L::ID_Artikel},
      {"Rabatt", &L::Rabatt},
      {"Second", &L::Second},
      {"DM", nullptr, &L::DM},
      {"TypeLine", &L::TypeLine},
      {"Isnetto", nullptr, &L::Isnetto},
      {"User", &L::User},
      {"Row", nullptr, nullptr, &L::Row},
      {"Rows", &L::Rows},
      {"Hash", &L::Hash},
      {"Pos", &L::Pos},
      {"ExtraData", &L::ExtraData},
      {"L2", &L::L2},
  }};
  return properties;
}

bool IsTextLine(const TDataGridLine& line) {
  return line.TypeLine == "-" || line.TypeLine == "a" || line.TypeLine == "\x81";
}

TDataGridLine& TCustomDataGridLines::Add() {
  if (blocks_.empty() || blocks_.back().size() == kBlockSize) {
    blocks_.emplace_back().reserve(kBlockSize);
  }
  TDataGridLine& line = blocks_.back().emplace_back(this, count_);
  ++count_;
  return line;
}

TDataGridLine& TCustomDataGridLines::Items(int index) {
  if (index < 0 || index >= Count()) {
    throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
  }
  const auto position = static_cast<std::size_t>(index);
  return blocks_[position / kBlockSize][position % kBlockSize];
}

const TDataGridLine& TCustomDataGridLines::Items(int index) const {
  return const_cast<TCustomDataGridLines*>(this)->Items(index);
}

void TCustomDataGridLines::Assign(const TCustomDataGridLines& source) {
  if (&source == this) return;
  BeginUpdate();
  try {
    blocks_.clear();
    store_.Clear();
    count_ = 0;
    for (int i = 0; i < source.Count(); ++i) Add().Assign(source.Items(i));
    GUID = source.GUID;
    Row = source.Row;
    Data = source.Data;
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

}  // namespace zw
