#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "orderlines/uCustomDataGridLines.h"

// The order JSON export: order lines become the order JSON document, whose text is posted to
// the exchange server with the command "OUTDATA".
namespace zw {

class TJsonArena;
class TJsonObject;
class TJsonList;

// The objects of the order document that members are added to.
enum class TJsonTarget { Address, Order, CurrentPart };

// The process-wide order document. An instance is only a handle: every operation acts on the
// one document, which is created on first use and destroyed when its text is taken, so each
// export starts from the empty skeleton.
class TJSON {
 public:
  TJSON() = default;
  virtual ~TJSON();
  TJSON(const TJSON&) = delete;
  TJSON& operator=(const TJSON&) = delete;

  // Appends an empty part object to "Parts" and makes it the current part.
  static void NewPart();
  // Set or add on the target; with the current part as target and no part yet, nothing.
  static void AddString(TJsonTarget target, std::string_view name, std::string_view text);
  static void AddBoolean(TJsonTarget target, std::string_view name, bool value);
  // The compact text of the document, which is destroyed even when writing fails; empty when
  // there is no document.
  static std::string TakeText();
  // Destroys the document without output.
  static void DiscardDocument();
  static bool DocumentExists();

 protected:
  // The root of the document, which is created with its skeleton when missing.
  static TJsonObject& DocumentRoot();

 private:
  static TJSON& Document();
  static void MakeDocument();
  TJsonObject* TargetObject(TJsonTarget target) const;

  // The room of the document's lists and objects; it outlives them, as the root is freed
  // first.
  std::unique_ptr<TJsonArena> arena_;
  std::unique_ptr<TJsonObject> root_;
  TJsonList* order_list_ = nullptr;
  TJsonObject* order_ = nullptr;
  TJsonList* parts_ = nullptr;
  TJsonObject* current_part_ = nullptr;
  TJsonList* address_list_ = nullptr;
  TJsonObject* address_ = nullptr;
};

class TJSONImport : public TJSON {
 public:
  // The root's "Description".
  static void SetDescription(const std::string& text);
  // TakeText; on an exception the document is discarded and the exception passed on.
  static std::string ExportText();
};

// Posts data to the exchange server: data, index, command; true when it was answered.
using TOrderPoster =
    std::function<bool(const std::string& data, int index, const std::string& command)>;

class TCustomTextParser {
 public:
  // Without a poster (or with an empty one) the text goes to WriteIPCValueASync.
  TCustomTextParser();
  explicit TCustomTextParser(TOrderPoster poster);
  virtual ~TCustomTextParser();
  TCustomTextParser(const TCustomTextParser&) = delete;
  TCustomTextParser& operator=(const TCustomTextParser&) = delete;

  // Builds the document.
  virtual void Parse() = 0;
  // Posts the document's text as the command, to the target index; the answer is not used.
  virtual void Send();
  virtual int TargetIndex() const;
  virtual std::string CommandName() const;
  // Parse, then Send.
  virtual void Execute();

  // Created on first use, freed with the parser.
  TJSONImport& JsonImport();
  void SetPoster(TOrderPoster poster);

 private:
  std::unique_ptr<TJSONImport> json_import_;
  TOrderPoster poster_;
};

// The thirteen members of a part, in order, and the line properties they are copied from.
struct TOrderPartMember {
  std::string_view Name;
  LineText TDataGridLine::*Text;
};
extern const TOrderPartMember kOrderPartMembers[13];

// Exports a collection of order lines, which it does not own.
class TSaveParser : public TCustomTextParser {
 public:
  using TCustomTextParser::TCustomTextParser;

  void SetLines(const TCustomDataGridLines& lines) { lines_ = &lines; }
  // The skeleton with an empty description, the four order flags, then one part of thirteen
  // text members per line, in collection order.
  void Parse() override;

 private:
  const TCustomDataGridLines* lines_ = nullptr;
};

// Posts the lines as order JSON into the order open in the order application.
void PostOrderLines(const TCustomDataGridLines& lines);
void PostOrderLines(const TCustomDataGridLines& lines, TOrderPoster poster);

// Posts the lines as "OUTDATA" to the exchange server; true when the post was answered.
bool PostOrderLinesToServer(const TCustomDataGridLines& lines);

// The order JSON of the lines, exactly as it is posted.
std::string OrderJsonText(const TCustomDataGridLines& lines);

}  // namespace zw
