#include "texttable/UFastCSV.h"

#include "base/errors.h"
#include "texttable/record_scanner.h"

namespace zw {

namespace {

constexpr std::size_t kInitialSlots = 100;

}  // namespace

TCSVReader::TCSVReader(std::string_view text, char delimiter)
    : TCSVReader(text, delimiter, kNativeBlocks) {}

TCSVReader::TCSVReader(std::string_view text, char delimiter, ByteBlocks blocks)
    : text_(text), delimiter_(delimiter), blocks_(blocks) {
  CheckRecordTextSize(text);
  fields_.resize(kInitialSlots);
}

void TCSVReader::First() {
  position_ = 0;
  last_record_read_ = false;
  eof_ = false;
  Next();
}

void TCSVReader::Next() {
#ifdef ZW_SSE2
  if (blocks_ == ByteBlocks::Sse2) {
    ReadRecord<ByteBlocks::Sse2>();
    return;
  }
#endif
  ReadRecord<ByteBlocks::Words>();
}

template <ByteBlocks kBlocks>
void TCSVReader::ReadRecord() {
  if (eof_) throw Error("Try to read past eof");
  field_count_ = 0;
  quoted_ = false;
  if (last_record_read_) {
    eof_ = true;
    return;
  }
  FieldSlots slots(fields_);
  const ScannedRecord record = RecordScanner<kBlocks>(text_, delimiter_).Read(position_, slots);
  if (record.End == RecordEnd::EndOfData) {
    eof_ = true;
    return;
  }
  field_count_ = static_cast<int>(slots.Count());
  quoted_ = record.Quoted;
  last_record_read_ = record.End == RecordEnd::LastLine;
}

std::string TCSVReader::Fields(int index) const {
  std::string value;
  AppendField(index, value);
  return value;
}

void TCSVReader::AppendField(int index, std::string& out) const {
  if (index < 0 || index >= field_count_) return;
  AppendFieldValue(Record().Field(static_cast<std::size_t>(index)), out);
}

}  // namespace zw
