#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "exchange/UCustomTextParser.h"
#include "json/json_list.h"
#include "json/json_object.h"
#include "json/json_text.h"
#include "orderlines/uCustomDataGridLines.h"

namespace zw {
namespace {

// What the exchange server would have been sent.
struct Post {
  std::string data;
  int index = 0;
  std::string command;
};

class OrderJsonTest : public ::testing::Test {
 protected:
  void TearDown() override { TJSON::DiscardDocument(); }

  // The text PostOrderLines sends for the lines.
  std::string Export(const TCustomDataGridLines& lines) {
    posts_.clear();
    PostOrderLines(lines, [this](const std::string& data, int index, const std::string& command) {
      posts_.push_back({data, index, command});
      return true;
    });
    EXPECT_EQ(posts_.size(), 1u);
    return posts_.empty() ? std::string() : posts_.front().data;
  }

  std::vector<Post> posts_;
};

// The document around the given part objects.
std::string Document(const std::string& parts) {
  return R"({"Order":[{"Parts":[)" + parts +
         R"(],"Adress":[{}],"NettoPrices":true,"TaxImport":true,"UpdateParts":false,)"
         R"("AppendMode":true}],"Description":""})";
}

const char kEmptyPart[] =
    R"({"Price":"","TypLine":"","Position":"","Unit":"","Quantity":"","Description1":"",)"
    R"("Description2":"","Number":"","TaxRate":"","LongText":"","DeliverNumber":"",)"
    R"("SerialNumber":"","Rabatt":""})";

// An empty part whose "Description1" holds the text.
std::string PartWithDescription(const std::string& text) {
  const std::string empty = R"("Description1":"")";
  std::string part = kEmptyPart;
  return part.replace(part.find(empty), empty.size(), R"("Description1":")" + text + "\"");
}

TEST_F(OrderJsonTest, OneEmptyLineGivesTheFullDocument) {
  TCustomDataGridLines lines;
  lines.Add();
  EXPECT_EQ(
      Export(lines),
      R"({"Order":[{"Parts":[{"Price":"","TypLine":"","Position":"","Unit":"","Quantity":"",)"
      R"("Description1":"","Description2":"","Number":"","TaxRate":"","LongText":"",)"
      R"("DeliverNumber":"","SerialNumber":"","Rabatt":""}],"Adress":[{}],"NettoPrices":true,)"
      R"("TaxImport":true,"UpdateParts":false,"AppendMode":true}],"Description":""})");
}

TEST_F(OrderJsonTest, EveryMemberComesFromItsOwnProperty) {
  TCustomDataGridLines lines;
  TDataGridLine& line = lines.Add();
  line.Einzelbetrag = "1,5";
  line.TypeLine = "t";
  line.Pos = "1.2";
  line.Einheit = "Stk";
  line.Stueck = "3";
  line.Bezeichnung1 = "d1";
  line.Bezeichnung2 = "d2";
  line.Artikelnummer = "A-7";
  line.Steuer = "19";
  line.Second = "lang\r\ntext";
  line.BestellNummer = "B9";
  line.Seriennummer = "S1";
  line.Rabatt = "5";
  line.SummeBetrag = "not exported";
  line.User = "not exported";
  EXPECT_EQ(Export(lines),
            Document(R"({"Price":"1,5","TypLine":"t","Position":"1.2","Unit":"Stk",)"
                     R"("Quantity":"3","Description1":"d1","Description2":"d2","Number":"A-7",)"
                     R"("TaxRate":"19","LongText":"lang\r\ntext","DeliverNumber":"B9",)"
                     R"("SerialNumber":"S1","Rabatt":"5"})"));
}

TEST_F(OrderJsonTest, TwoLinesInCollectionOrder) {
  TCustomDataGridLines lines;
  lines.Add().Bezeichnung1 = "erste";
  lines.Add().Bezeichnung1 = "zweite";
  EXPECT_EQ(Export(lines),
            Document(PartWithDescription("erste") + "," + PartWithDescription("zweite")));
}

TEST_F(OrderJsonTest, ATextLineHasItsMarkerAndEmptyAmounts) {
  TCustomDataGridLines lines;
  TDataGridLine& line = lines.Add();
  line.TypeLine = "-";
  line.Bezeichnung1 = "Nur Text";
  const std::string text = Export(lines);
  EXPECT_NE(text.find(R"({"Price":"","TypLine":"-",)"), std::string::npos) << text;
  EXPECT_NE(text.find(R"("Quantity":"",)"), std::string::npos);
  EXPECT_NE(text.find(R"("TaxRate":"",)"), std::string::npos);
}

TEST_F(OrderJsonTest, QuotesSlashesAndEightBitText) {
  TCustomDataGridLines lines;
  lines.Add().Bezeichnung1 = "Rohr 1/2\" \xC4\xD6\xDC\xE4\xF6\xFC\xDF 10 \x80";
  const std::string text = Export(lines);
  // Umlauts stay single Windows-1252 bytes; the euro sign is the only escaped high byte.
  EXPECT_NE(text.find("\"Description1\":\"Rohr 1\\/2\\\" \xC4\xD6\xDC\xE4\xF6\xFC\xDF 10 "
                      "\\u20ac\""),
            std::string::npos)
      << text;
}

TEST_F(OrderJsonTest, TheTextIsPostedAsOutdataToIndexEleven) {
  TCustomDataGridLines lines;
  lines.Add();
  const std::string text = Export(lines);
  ASSERT_EQ(posts_.size(), 1u);
  EXPECT_EQ(posts_[0].index, 11);
  EXPECT_EQ(posts_[0].command, "OUTDATA");
  EXPECT_EQ(text, Document(kEmptyPart));
  EXPECT_FALSE(TJSON::DocumentExists());  // taking the text ends the document
}

TEST_F(OrderJsonTest, TwoExportsInARowAreIndependent) {
  TCustomDataGridLines first;
  first.Add().Bezeichnung1 = "alt";
  first.Add().Bezeichnung1 = "alt";
  Export(first);
  TCustomDataGridLines second;
  second.Add();
  EXPECT_EQ(Export(second), Document(kEmptyPart));
}

TEST_F(OrderJsonTest, APosterThatThrowsLeavesNoDocumentBehind) {
  TCustomDataGridLines lines;
  lines.Add().Bezeichnung1 = "alt";
  const auto failing = [](const std::string&, int, const std::string&) -> bool {
    throw std::runtime_error("pipe broken");
  };
  EXPECT_THROW(PostOrderLines(lines, failing), std::runtime_error);
  EXPECT_FALSE(TJSON::DocumentExists());
  TCustomDataGridLines next;
  next.Add();
  EXPECT_EQ(Export(next), Document(kEmptyPart));
}

// Builds part of a document, then fails.
class FailingParser : public TCustomTextParser {
 public:
  using TCustomTextParser::TCustomTextParser;
  void Parse() override {
    JsonImport().SetDescription("");
    JsonImport().NewPart();
    JsonImport().AddString(TJsonTarget::CurrentPart, "Price", "alt");
    throw std::runtime_error("parse failed");
  }
};

TEST_F(OrderJsonTest, AFailedParseDiscardsTheHalfBuiltDocument) {
  bool posted = false;
  FailingParser parser([&](const std::string&, int, const std::string&) { return posted = true; });
  EXPECT_THROW(parser.Execute(), std::runtime_error);
  EXPECT_FALSE(posted);
  EXPECT_FALSE(TJSON::DocumentExists());
}

TEST_F(OrderJsonTest, DocumentOperations) {
  EXPECT_EQ(TJSON::TakeText(), "");                          // no document, no text
  TJSON::AddString(TJsonTarget::CurrentPart, "Price", "1");  // no part yet: nothing
  TJSON::AddString(TJsonTarget::Address, "City", "Bonn");
  TJSON::AddBoolean(TJsonTarget::Order, "AppendMode", false);
  TJSON::AddBoolean(TJsonTarget::Order, "AppendMode", true);  // replaced in place
  TJSON::NewPart();
  TJSON::AddString(TJsonTarget::CurrentPart, "Price", "2");
  TJSONImport::SetDescription("d");
  EXPECT_EQ(TJSONImport::ExportText(),
            R"({"Order":[{"Parts":[{"Price":"2"}],"Adress":[{"City":"Bonn"}],)"
            R"("AppendMode":true}],"Description":"d"})");
  EXPECT_EQ(TJSON::TakeText(), "");
}

// The document built from values made with new, as any caller of the JSON library builds it.
std::string DocumentOfNewValues(const TCustomDataGridLines& lines) {
  auto parts = std::make_unique<TJsonList>();
  for (int i = 0; i < lines.Count(); ++i) {
    auto part = std::make_unique<TJsonObject>();
    for (const TOrderPartMember& member : kOrderPartMembers) {
      part->SetString(member.Name, lines.Items(i).*member.Text);
    }
    parts->Add(std::move(part));
  }
  auto address = std::make_unique<TJsonList>();
  address->Add(std::make_unique<TJsonObject>());
  auto order = std::make_unique<TJsonObject>();
  order->Add(u"Parts", std::move(parts));
  order->Add(u"Adress", std::move(address));
  order->SetBoolean("NettoPrices", true);
  order->SetBoolean("TaxImport", true);
  order->SetBoolean("UpdateParts", false);
  order->SetBoolean("AppendMode", true);
  auto orders = std::make_unique<TJsonList>();
  orders->Add(std::move(order));
  TJsonObject root;
  root.Add(u"Order", std::move(orders));
  root.SetString("Description", "");
  return TJsonText::GenerateText(root);
}

TEST_F(OrderJsonTest, ManyLinesOfEveryKindOfTextAreWrittenAsNewValuesWouldBe) {
  TCustomDataGridLines lines;
  for (int i = 0; i < 300; ++i) {
    TDataGridLine& line = lines.Add();
    int k = 0;
    for (const TOrderPartMember& member : kOrderPartMembers) {
      // Lengths around the words the texts are copied in, now and then a byte to escape.
      std::string value(static_cast<std::size_t>((i * 7 + k * 3) % 70), 'a' + k);
      if (!value.empty() && (i + k) % 5 == 0) value[(i + k) % value.size()] = '"';
      if (!value.empty() && (i + k) % 11 == 0) value.back() = '\x80';
      line.*member.Text = value;
      ++k;
    }
  }
  EXPECT_EQ(Export(lines), DocumentOfNewValues(lines));
}

// Reads the document as a caller of the protected root can.
class DocumentReader : public TJSONImport {
 public:
  using TJSON::DocumentRoot;
};

TEST_F(OrderJsonTest, APartReadThroughTheRootGivesItsMembers) {
  TJSON::NewPart();
  TJSON::AddString(TJsonTarget::CurrentPart, "Price", "1,5");
  TJSON::AddString(TJsonTarget::CurrentPart, "Unit", "Stk");
  TJSON::NewPart();
  TJSON::AddString(TJsonTarget::CurrentPart, "Price", "2");
  TJsonObject& root = DocumentReader::DocumentRoot();
  auto* order = static_cast<TJsonList*>(root.FieldByName(u"Order"));
  auto* parts =
      static_cast<TJsonList*>(static_cast<TJsonObject*>(order->Child(0))->FieldByName(u"Parts"));
  auto* first = static_cast<TJsonObject*>(parts->Child(0));
  EXPECT_EQ(first->GetString(1), "Stk");
  EXPECT_EQ(first->NameOf(0), u"Price");
  first->SetString("Unit", "m");
  TJSON::AddString(TJsonTarget::CurrentPart, "Unit", "kg");
  EXPECT_EQ(TJSON::TakeText(),
            R"({"Order":[{"Parts":[{"Price":"1,5","Unit":"m"},{"Price":"2","Unit":"kg"}],)"
            R"("Adress":[{}]}]})");
}

}  // namespace
}  // namespace zw
