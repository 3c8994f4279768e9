#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "orderlines/line_text.h"

// One order line of the order application and the collection that a conversion run fills.
// The property names are also the keys of the lines in the application's clipboard format.
namespace zw {

class TCustomDataGridLines;

// The base of every collection item: knows its collection and its index in it.
class TCollectionItem {
 public:
  virtual ~TCollectionItem() = default;
  TCollectionItem(const TCollectionItem&) = delete;
  TCollectionItem& operator=(const TCollectionItem&) = delete;

  TCustomDataGridLines* Collection() const { return collection_; }
  int Index() const { return index_; }

  virtual const char* ClassName() const { return "TCollectionItem"; }
  // Fails with "Cannot assign a <source class> to a <this class>"; items override it.
  virtual void Assign(const TCollectionItem& source);

 protected:
  TCollectionItem(TCustomDataGridLines* collection, int index)
      : collection_(collection), index_(index) {}
  // Only for the collection's storage; a line keeps its collection and index.
  TCollectionItem(TCollectionItem&&) = default;

 private:
  TCustomDataGridLines* collection_;
  int index_;
};

class TDataGridLine final : public TCollectionItem {
 public:
  TDataGridLine(TCustomDataGridLines* collection, int index) : TCollectionItem(collection, index) {}

  const char* ClassName() const override { return "TDataGridLine"; }
  // Copies all 24 properties of another order line.
  void Assign(const TCollectionItem& source) override;

  // The integer and the two flags come first, where they fill the room the item leaves
  // behind its index; the published order is that of DataGridLineProperties.
  std::int32_t Row = 0;
  bool DM = false;
  bool Isnetto = false;
  LineText Stueck;
  LineText Einheit;
  LineText Bezeichnung1;
  LineText Bezeichnung2;
  LineText BestellNummer;
  LineText Seriennummer;
  LineText Artikelnummer;
  LineText Einzelbetrag;
  LineText Steuer;
  LineText SummeBetrag;
  LineText intern;
  LineText ID_Artikel;
  LineText Rabatt;
  LineText Second;
  LineText TypeLine;
  LineText User;
  LineText Rows;
  LineText Hash;
  LineText Pos;
  LineText ExtraData;
  LineText L2;
};

// The published properties of an order line, in their published order: the order of every
// listing and of the streamed form. Exactly one of the member pointers is set.
struct TDataGridLineProperty {
  std::string_view Name;
  LineText TDataGridLine::*Text = nullptr;
  bool TDataGridLine::*Boolean = nullptr;
  std::int32_t TDataGridLine::*Integer = nullptr;
};

const std::array<TDataGridLineProperty, 24>& DataGridLineProperties();

// A line that carries text only: TypeLine is "-", "a" or the byte 0x81.
bool IsTextLine(const TDataGridLine& line);

class TCustomDataGridLines {
 public:
  TCustomDataGridLines() = default;
  virtual ~TCustomDataGridLines() = default;
  TCustomDataGridLines(const TCustomDataGridLines&) = delete;
  TCustomDataGridLines& operator=(const TCustomDataGridLines&) = delete;

  // Appends a line with every property at its default.
  TDataGridLine& Add();
  int Count() const { return count_; }
  // Throws std::out_of_range for an index outside 0 to Count() - 1.
  TDataGridLine& Items(int index);
  const TDataGridLine& Items(int index) const;

  // Sets a text property of one of this collection's lines, keeping a longer text in the
  // collection's store instead of a block of its own: for the run that makes many lines.
  void SetText(LineText& property, std::string_view text) { property.AssignStored(text, store_); }

  // Replaces all lines by copies of the source's lines, then copies GUID, Row and Data.
  virtual void Assign(const TCustomDataGridLines& source);

  void BeginUpdate() { ++update_count_; }
  void EndUpdate() { --update_count_; }
  int UpdateCount() const { return update_count_; }

  std::string GUID;
  std::int32_t Row = 0;
  std::string Data;

 private:
  // Lines live in blocks whose capacity is reserved up front and never exceeded, so a line
  // never moves once added and a run allocates one block per 64 lines, not one per line.
  static constexpr std::size_t kBlockSize = 64;
  // Declared first, so that it outlives the lines whose texts it holds.
  LineTextStore store_;
  std::vector<std::vector<TDataGridLine>> blocks_;
  int count_ = 0;
  int update_count_ = 0;
};

}  // namespace zw
