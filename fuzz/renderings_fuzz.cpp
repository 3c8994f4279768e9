// The four clipboard formats and the order JSON over arbitrary order lines and separators.
// Each is read back the way another program reads it: the "HTML Format" offsets point at the
// fragment, the CSV parses back to the same fields, the component stream parses to its end
// with every length in place, and the JSON is well-formed and the same as built from values made
// with new; objects that keep their strings packed act as objects of fields.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "base/little_endian.h"
#include "base/text_sink.h"
#include "exchange/UCustomTextParser.h"
#include "fuzz_check.h"
#include "json/json_arena.h"
#include "json/json_list.h"
#include "json/json_object.h"
#include "json/json_text.h"
#include "json_syntax.h"
#include "orderlines/UClpUtils.h"
#include "orderlines/amount_format.h"
#include "orderlines/line_renderings.h"
#include "orderlines/uDataGridLines.h"

namespace {

using Fields = std::vector<std::string>;

// Every field quoted, quotes doubled; records end at CR LF outside quotes.
std::vector<Fields> ParseQuotedCsv(std::string_view text, char separator) {
  std::vector<Fields> records(1);
  std::size_t at = 0;
  for (;;) {
    FUZZ_CHECK(at < text.size() && text[at] == '"');
    std::string field;
    for (++at;; ++at) {
      FUZZ_CHECK(at < text.size());
      if (text[at] == '"') {
        if (at + 1 < text.size() && text[at + 1] == '"') {
          field.push_back('"');
          ++at;
        } else {
          break;
        }
      } else {
        field.push_back(text[at]);
      }
    }
    ++at;
    records.back().push_back(std::move(field));
    if (at == text.size()) return records;
    if (text[at] == separator) {
      ++at;
    } else {
      FUZZ_CHECK(text.substr(at, 2) == "\r\n");
      at += 2;
      records.emplace_back();
    }
  }
}

void CheckCsv(const zw::TExDataGridLines& lines, std::string_view csv) {
  const zw::Separators& separators = lines.NumberSeparators();
  const std::vector<Fields> records = ParseQuotedCsv(csv, separators.List);
  FUZZ_CHECK(records.size() == static_cast<std::size_t>(lines.Count()) + 1);
  FUZZ_CHECK((records[0] == Fields{"Pos", "Menge", "Text", "Nummer", "Preis", "Rabatt", "Summe"}));
  const auto amount = [&](std::string_view text) {
    return zw::FormatAmount3(text, separators.Decimal, separators.Thousand);
  };
  for (int i = 0; i < lines.Count(); ++i) {
    const zw::TDataGridLine& line = lines.Items(i);
    const Fields expected = {
        line.Pos.str(),           amount(line.Stueck),       line.Bezeichnung1.str(),
        line.Artikelnummer.str(), amount(line.Einzelbetrag), amount(line.Rabatt),
        amount(line.SummeBetrag)};
    FUZZ_CHECK(records[static_cast<std::size_t>(i) + 1] == expected);
  }
}

std::size_t HeaderNumber(std::string_view document, std::string_view label) {
  const std::size_t at = document.find(label);
  FUZZ_CHECK(at != std::string_view::npos && at < 120);
  std::size_t value = 0;
  for (std::size_t i = at + label.size(); i < document.size() && document[i] != '\r'; ++i) {
    FUZZ_CHECK(document[i] >= '0' && document[i] <= '9');
    value = value * 10 + static_cast<std::size_t>(document[i] - '0');
  }
  return value;
}

void CheckHtml(const zw::TExDataGridLines& lines, std::string_view document) {
  constexpr std::string_view kStart = "<!--StartFragment-->";
  constexpr std::string_view kEnd = "<!--EndFragment-->";
  FUZZ_CHECK(document.substr(0, 13) == "Version:1.0\r\n");
  const std::size_t start_html = HeaderNumber(document, "StartHTML:");
  const std::size_t end_html = HeaderNumber(document, "EndHTML:");
  const std::size_t start_fragment = HeaderNumber(document, "StartFragment:");
  const std::size_t end_fragment = HeaderNumber(document, "EndFragment:");
  FUZZ_CHECK(end_html == document.size());
  FUZZ_CHECK(start_html < start_fragment && start_fragment <= end_fragment &&
             end_fragment <= end_html);
  FUZZ_CHECK(document.substr(start_html, 7) == "<sHtml>");
  FUZZ_CHECK(document.substr(start_fragment - kStart.size(), kStart.size()) == kStart);
  FUZZ_CHECK(document.substr(end_fragment, kEnd.size()) == kEnd);
  FUZZ_CHECK(document.substr(start_fragment, end_fragment - start_fragment) ==
             zw::HtmlTable(lines, lines.NumberSeparators()));
}

// Reads the component stream that the private format holds.
class StreamReader {
 public:
  explicit StreamReader(std::string_view bytes) : bytes_(bytes) {}

  std::uint8_t Byte() {
    FUZZ_CHECK(at_ < bytes_.size());
    return static_cast<std::uint8_t>(bytes_[at_++]);
  }
  std::uint32_t LittleEndian(std::size_t count) {
    FUZZ_CHECK(bytes_.size() - at_ >= count);
    const auto value = static_cast<std::uint32_t>(zw::LittleEndianAt(bytes_, at_, count));
    at_ += count;
    return value;
  }
  std::string Bytes(std::size_t count) {
    FUZZ_CHECK(bytes_.size() - at_ >= count);
    const std::string text(bytes_.substr(at_, count));
    at_ += count;
    return text;
  }
  std::string ShortText() { return Bytes(Byte()); }
  // A typed value, given as text: strings as they are, numbers and booleans spelled out.
  std::string Value() {
    switch (const std::uint8_t type = Byte()) {
      case 0x02:
        return std::to_string(static_cast<std::int8_t>(Byte()));
      case 0x03:
        return std::to_string(static_cast<std::int16_t>(LittleEndian(2)));
      case 0x04:
        return std::to_string(static_cast<std::int32_t>(LittleEndian(4)));
      case 0x06:
        return Bytes(Byte());
      case 0x0C: {
        const std::uint32_t length = LittleEndian(4);
        FUZZ_CHECK(length > 255);
        return Bytes(length);
      }
      case 0x08:
        return "false";
      case 0x09:
        return "true";
      default:
        FUZZ_CHECK(!"a known type byte");
        return {};
    }
  }
  bool AtEnd() const { return at_ == bytes_.size(); }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
};

void CheckStream(const zw::TCustomDataGridLines& lines, std::string_view block) {
  StreamReader reader(block);
  FUZZ_CHECK(reader.LittleEndian(4) == block.size() - 4);
  FUZZ_CHECK(reader.Bytes(4) == "TPF0");
  FUZZ_CHECK(reader.ShortText() == "TDataGridLinesWrapper");
  FUZZ_CHECK(reader.ShortText().empty());
  FUZZ_CHECK(reader.ShortText() == "DataGridLines");
  FUZZ_CHECK(reader.Byte() == 0x0E);
  for (int i = 0; i < lines.Count(); ++i) {
    FUZZ_CHECK(reader.Byte() == 0x01);
    const zw::TDataGridLine& line = lines.Items(i);
    for (const zw::TDataGridLineProperty& property : zw::DataGridLineProperties()) {
      std::string expected;
      if (property.Text != nullptr) {
        expected = (line.*property.Text).str();
        if (expected.empty()) continue;
      } else if (property.Boolean != nullptr) {
        expected = line.*property.Boolean ? "true" : "false";
      } else {
        expected = std::to_string(line.*property.Integer);
      }
      FUZZ_CHECK(reader.ShortText() == property.Name);
      FUZZ_CHECK(reader.Value() == expected);
    }
    FUZZ_CHECK(reader.Byte() == 0x00);
  }
  FUZZ_CHECK(reader.Byte() == 0x00);
  if (!lines.GUID.empty()) {
    FUZZ_CHECK(reader.ShortText() == "GUID");
    FUZZ_CHECK(reader.Value() == lines.GUID);
  }
  FUZZ_CHECK(reader.ShortText() == "Row");
  FUZZ_CHECK(reader.Value() == std::to_string(lines.Row));
  if (!lines.Data.empty()) {
    FUZZ_CHECK(reader.ShortText() == "Data");
    FUZZ_CHECK(reader.Value() == lines.Data);
  }
  FUZZ_CHECK(reader.Byte() == 0x00);
  FUZZ_CHECK(reader.Byte() == 0x00);
  FUZZ_CHECK(reader.AtEnd());
}

// 15 key lines per order line, when no value brings a line break or a zero of its own.
void CheckKeyText(const zw::TCustomDataGridLines& lines, std::string_view text) {
  if (lines.Count() == 0) return;
  FUZZ_CHECK(!text.empty() && text.back() == '\0');
  for (int i = 0; i < lines.Count(); ++i) {
    for (const zw::TDataGridLineProperty& property : zw::DataGridLineProperties()) {
      if (property.Text == nullptr) continue;
      const std::string_view value = lines.Items(i).*property.Text;
      if (value.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) return;
    }
  }
  std::size_t breaks = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string_view::npos;
       at = text.find("\r\n", at + 2)) {
    ++breaks;
  }
  FUZZ_CHECK(breaks == 15 * static_cast<std::size_t>(lines.Count()));
  FUZZ_CHECK(text.find('\0') == text.size() - 1);
}

// The order document built from values made with new, as any caller of the JSON library builds
// it.
std::string DocumentOfNewValues(const zw::TCustomDataGridLines& lines) {
  auto parts = std::make_unique<zw::TJsonList>();
  for (int i = 0; i < lines.Count(); ++i) {
    auto part = std::make_unique<zw::TJsonObject>();
    for (const zw::TOrderPartMember& member : zw::kOrderPartMembers) {
      part->SetString(member.Name, lines.Items(i).*member.Text);
    }
    parts->Add(std::move(part));
  }
  auto address = std::make_unique<zw::TJsonList>();
  address->Add(std::make_unique<zw::TJsonObject>());
  auto order = std::make_unique<zw::TJsonObject>();
  order->Add(u"Parts", std::move(parts));
  order->Add(u"Adress", std::move(address));
  order->SetBoolean("NettoPrices", true);
  order->SetBoolean("TaxImport", true);
  order->SetBoolean("UpdateParts", false);
  order->SetBoolean("AppendMode", true);
  auto orders = std::make_unique<zw::TJsonList>();
  orders->Add(std::move(order));
  zw::TJsonObject root;
  root.Add(u"Order", std::move(orders));
  root.SetString("Description", "");
  return zw::TJsonText::GenerateText(root);
}

// A line's texts set by name on an object that packs them and on one of fields, the names taken
// from the texts too, so that they repeat and replace; both must write the same text, also
// after a lookup has turned the packed members into fields.
void CheckPackedObject(const zw::TDataGridLine& line) {
  zw::TJsonArena arena;
  std::unique_ptr<zw::TJsonObject> packed = arena.MakeObject(true);
  zw::TJsonObject fields(true);
  const std::size_t count = std::size(zw::kOrderPartMembers);
  for (std::size_t i = 0; i < 3 * count; ++i) {
    const std::string_view name = line.*zw::kOrderPartMembers[i % count].Text;
    const std::string_view text = line.*zw::kOrderPartMembers[(i * 7 + 1) % count].Text;
    packed->SetString(name.substr(0, i % 5), text);
    fields.SetString(name.substr(0, i % 5), text);
  }
  FUZZ_CHECK(zw::TJsonText::GenerateText(*packed) == zw::TJsonText::GenerateText(fields));
  FUZZ_CHECK(packed->Count() == fields.Count());
  FUZZ_CHECK(packed->GetWideString(0) == fields.GetWideString(0));
  FUZZ_CHECK(zw::TJsonText::GenerateText(*packed) == zw::TJsonText::GenerateText(fields));
}

void CheckJson(const zw::TCustomDataGridLines& lines) {
  std::string posted;
  zw::PostOrderLines(lines, [&](const std::string& data, int, const std::string&) {
    posted = data;
    return true;
  });
  FUZZ_CHECK(zw::fuzz::IsJsonText(posted));
  FUZZ_CHECK(posted == DocumentOfNewValues(lines));
  for (int i = 0; i < lines.Count(); ++i) CheckPackedObject(lines.Items(i));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  zw::Separators separators;
  separators.Decimal = input.PickValueInArray({',', '.'});
  separators.Thousand = input.PickValueInArray({'.', '\'', ' ', '\0'});
  separators.List = input.PickValueInArray({';', ',', '\t'});
  if (separators.Thousand == separators.Decimal) separators.Thousand = '\0';

  zw::TExDataGridLines lines(separators);
  lines.Row = input.ConsumeIntegral<std::int32_t>();
  lines.Data = input.ConsumeRandomLengthString(300);
  const std::string guid = input.ConsumeRandomLengthString(40);
  for (int count = input.ConsumeIntegralInRange(0, 4); count > 0; --count) {
    zw::TDataGridLine& line = lines.Add();
    for (const zw::TDataGridLineProperty& property : zw::DataGridLineProperties()) {
      if (property.Text != nullptr) {
        // Now and then a text too long for a short string.
        line.*property.Text = input.ConsumeRandomLengthString(input.ConsumeBool() ? 24 : 400);
      } else if (property.Boolean != nullptr) {
        line.*property.Boolean = input.ConsumeBool();
      } else {
        line.*property.Integer = input.ConsumeIntegral<std::int32_t>();
      }
    }
  }

  zw::RecordingClipboard clipboard;
  FUZZ_CHECK(lines.CopyToClipboard(guid, clipboard));
  const zw::ClipboardFormats& formats = zw::RegisteredClipboardFormats();
  CheckStream(lines, clipboard.BlockOf(formats.DataGrid));
  CheckHtml(lines, clipboard.BlockOf(formats.Html));
  CheckKeyText(lines, clipboard.BlockOf(formats.Text));
  CheckCsv(lines, clipboard.BlockOf(formats.Csv));
  CheckJson(lines);

  // Each block written in pieces (the way zwconvert writes one) holds the bytes of the block
  // placed on the clipboard.
  const std::vector<zw::RecordingClipboard::Entry>& entries = clipboard.Entries();
  FUZZ_CHECK(entries.size() == zw::TDataGridLines::kClipboardItemCount);
  for (std::size_t index = 0; index < entries.size(); ++index) {
    const std::string& block = entries[index].Block;
    std::ostringstream pieces;
    zw::StreamSink sink(pieces);
    lines.WriteClipboardBlock(index, guid, sink);
    sink.Finish();
    FUZZ_CHECK(pieces.str() == block);
  }
  return 0;
}
