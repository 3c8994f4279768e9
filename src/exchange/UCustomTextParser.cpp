#include "exchange/UCustomTextParser.h"

#include <utility>

#include "exchange/exchange_requests.h"
#include "json/json_arena.h"
#include "json/json_list.h"
#include "json/json_object.h"
#include "json/json_streamer.h"

namespace zw {
namespace {

// The order document exists only within one export; see TJSON.
std::unique_ptr<TJSON> order_document;

// Adds the value and returns it, still owned by the container.
template <typename Value>
Value* AddTo(TJsonList& list, std::unique_ptr<Value> value) {
  Value* added = value.get();
  list.Add(std::move(value));
  return added;
}

template <typename Value>
Value* AddTo(TJsonObject& object, const char16_t* name, std::unique_ptr<Value> value) {
  Value* added = value.get();
  object.Add(name, std::move(value));
  return added;
}

// Exports as PostOrderLines does, but keeps the text instead of posting it, so that the text of
// a long document is not copied.
class TextTakingParser : public TSaveParser {
 public:
  void Send() override { text_ = JsonImport().ExportText(); }
  std::string TakeText() { return std::move(text_); }

 private:
  std::string text_;
};

}  // namespace

const TOrderPartMember kOrderPartMembers[13] = {
    {"Price", &TDataGridLine::Einzelbetrag},
    {"TypLine", &TDataGridLine::TypeLine},
    {"Position", &TDataGridLine::Pos},
    {"Unit", &TDataGridLine::Einheit},
    {"Quantity", &TDataGridLine::Stueck},
    {"Description1", &TDataGridLine::Bezeichnung1},
    {"Description2", &TDataGridLine::Bezeichnung2},
    {"Number", &TDataGridLine::Artikelnummer},
    {"TaxRate", &TDataGridLine::Steuer},
    {"LongText", &TDataGridLine::Second},
    {"DeliverNumber", &TDataGridLine::BestellNummer},
    {"SerialNumber", &TDataGridLine::Seriennummer},
    {"Rabatt", &TDataGridLine::Rabatt},
};

TJSON::~TJSON() = default;

TJSON& TJSON::Document() {
  if (order_document == nullptr) MakeDocument();
  return *order_document;
}

void TJSON::MakeDocument() {
  auto document = std::make_unique<TJSON>();
  document->arena_ = std::make_unique<TJsonArena>();
  TJsonArena& arena = *document->arena_;
  document->root_ = arena.MakeObject(true);
  document->order_list_ = AddTo(*document->root_, u"Order", arena.Make<TJsonList>());
  document->order_ = AddTo(*document->order_list_, arena.MakeObject(true));
  document->parts_ = AddTo(*document->order_, u"Parts", arena.Make<TJsonList>());
  document->address_list_ = AddTo(*document->order_, u"Adress", arena.Make<TJsonList>());
  document->address_ = AddTo(*document->address_list_, arena.MakeObject(true));
  order_document = std::move(document);
}

TJsonObject& TJSON::DocumentRoot() { return *Document().root_; }

TJsonObject* TJSON::TargetObject(TJsonTarget target) const {
  switch (target) {
    case TJsonTarget::Address:
      return address_;
    case TJsonTarget::Order:
      return order_;
    case TJsonTarget::CurrentPart:
      return current_part_;
  }
  return nullptr;
}

void TJSON::NewPart() {
  TJSON& document = Document();
  document.current_part_ = AddTo(*document.parts_, document.arena_->MakeObject(true));
}

void TJSON::AddString(TJsonTarget target, std::string_view name, std::string_view text) {
  if (TJsonObject* object = Document().TargetObject(target)) object->SetString(name, text);
}

void TJSON::AddBoolean(TJsonTarget target, std::string_view name, bool value) {
  if (TJsonObject* object = Document().TargetObject(target)) object->SetBoolean(name, value);
}

std::string TJSON::TakeText() {
  if (order_document == nullptr) return {};
  // Released on every path, so the next export starts empty.
  const std::unique_ptr<TJSON> document = std::move(order_document);
  // The text the streamer writes, without a stream's copy of it.
  return TJsonStreamer::GenerateText(document->root_.get());
}

void TJSON::DiscardDocument() { order_document.reset(); }

bool TJSON::DocumentExists() { return order_document != nullptr; }

void TJSONImport::SetDescription(const std::string& text) {
  DocumentRoot().SetString("Description", text);
}

std::string TJSONImport::ExportText() {
  try {
    return TakeText();
  } catch (...) {
    DiscardDocument();
    throw;
  }
}

TCustomTextParser::TCustomTextParser() : TCustomTextParser(TOrderPoster()) {}

TCustomTextParser::TCustomTextParser(TOrderPoster poster) { SetPoster(std::move(poster)); }

TCustomTextParser::~TCustomTextParser() = default;

void TCustomTextParser::SetPoster(TOrderPoster poster) {
  poster_ = poster ? std::move(poster) : TOrderPoster(&WriteIPCValueASync);
}

TJSONImport& TCustomTextParser::JsonImport() {
  if (json_import_ == nullptr) json_import_ = std::make_unique<TJSONImport>();
  return *json_import_;
}

void TCustomTextParser::Send() {
  const std::string command = CommandName();
  const std::string text = JsonImport().ExportText();
  poster_(text, TargetIndex(), command);
}

int TCustomTextParser::TargetIndex() const { return 11; }

std::string TCustomTextParser::CommandName() const { return "OUTDATA"; }

void TCustomTextParser::Execute() {
  try {
    Parse();
  } catch (...) {
    // A half-built document must not leak into the next export.
    TJSON::DiscardDocument();
    throw;
  }
  Send();
}

void TSaveParser::Parse() {
  TJSONImport& json = JsonImport();
  json.SetDescription("");
  json.AddBoolean(TJsonTarget::Order, "NettoPrices", true);
  json.AddBoolean(TJsonTarget::Order, "TaxImport", true);
  json.AddBoolean(TJsonTarget::Order, "UpdateParts", false);
  json.AddBoolean(TJsonTarget::Order, "AppendMode", true);
  if (lines_ == nullptr) return;
  for (int i = 0; i < lines_->Count(); ++i) {
    const TDataGridLine& line = lines_->Items(i);
    json.NewPart();
    for (const TOrderPartMember& member : kOrderPartMembers) {
      json.AddString(TJsonTarget::CurrentPart, member.Name, line.*member.Text);
    }
  }
}

void PostOrderLines(const TCustomDataGridLines& lines) { PostOrderLines(lines, TOrderPoster()); }

void PostOrderLines(const TCustomDataGridLines& lines, TOrderPoster poster) {
  TSaveParser parser(std::move(poster));
  parser.SetLines(lines);
  parser.Execute();
}

bool PostOrderLinesToServer(const TCustomDataGridLines& lines) {
  bool posted = false;
  PostOrderLines(lines, [&](const std::string& data, int index, const std::string& command) {
    posted = WriteIPCValueASync(data, index, command);
    return posted;
  });
  return posted;
}

std::string OrderJsonText(const TCustomDataGridLines& lines) {
  TextTakingParser parser;
  parser.SetLines(lines);
  parser.Execute();
  return parser.TakeText();
}

}  // namespace zw
