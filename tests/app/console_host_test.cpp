#include "app/console_host.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "exchange/exchange_requests.h"
#include "support/demo_data.h"
#include "support/exchange_stub_fixture.h"

namespace zw {
namespace {

// The run as zwconvert makes it, against exchange-stub in the role of the order application.
// The demo template posts its lines ("DirectToBrevanta=1").
class ConsoleHostTest : public test::ExchangeStubTest {
 protected:
  ConsoleHostTest() {
    templates_.Write("glas.txt", test::DemoRules());
    options_.Folder = templates_.Path();
    options_.Tax = "8";
    options_.Messages = &messages_;
    options_.OnDelivered = [this](const TExDataGridLines& lines) {
      delivered_.push_back(lines.Count());
    };
  }

  bool Run() {
    ConsoleHost host(options_);
    ConversionRun().Run(host, test::DemoCalculation());
    return host.Delivered();
  }

  test::TempFolder templates_;
  ConsoleHostOptions options_;
  std::string messages_;
  std::vector<int> delivered_;  // the line count of each delivery
};

TEST_F(ConsoleHostTest, OfflineTheLinesAreDeliveredOnceAndNoServerIsAsked) {
  const std::string name = UniqueName("offline");
  StartStub(name);
  EXPECT_TRUE(Run());
  EXPECT_EQ(delivered_, std::vector<int>{3});
  EXPECT_EQ(messages_, "");
  EXPECT_EQ(Counts(name), "");
}

TEST_F(ConsoleHostTest, APostTakenByTheOrderIsTheOneDelivery) {
  const std::string name = UniqueName("post");
  StartStub(name);
  options_.Exchange = true;
  options_.TaxFromServer = true;
  EXPECT_TRUE(Run());
  EXPECT_EQ(delivered_, std::vector<int>{3});
  EXPECT_EQ(messages_, "");
  EXPECT_EQ(Counts(name), "CANPOSTJSON=1\nOUTDATA=1\nTAXH=1\n");
}

struct RefusalCase {
  std::vector<std::string> stub_options;
  const char* message;
  const char* counts;
};

TEST_F(ConsoleHostTest, LinesTheOrderDoesNotTakeAreDeliveredOnceAndSaidSo) {
  const RefusalCase cases[] = {
      {{"--answer", "CANPOSTJSON=0"},
       "zwconvert: CANPOSTJSON ist nicht \"1\"; die Positionen kommen in die Zwischenablage\n",
       "CANPOSTJSON=1\n"},
      {{"--fail-outdata"},
       "zwconvert: der Auftrag wurde nicht angenommen (OUTDATA)\n",
       "CANPOSTJSON=1\nOUTDATA=1\n"},
  };
  for (const RefusalCase& c : cases) {
    const std::string name = UniqueName("refused");
    StartStub(name, c.stub_options);
    SetSelectedServerName(name);
    options_.Exchange = true;
    messages_.clear();
    delivered_.clear();
    EXPECT_TRUE(Run());
    EXPECT_EQ(delivered_, std::vector<int>{3}) << c.counts;
    EXPECT_EQ(messages_, c.message);
    EXPECT_EQ(Counts(name), c.counts);
  }
}

TEST_F(ConsoleHostTest, ATextNoTemplateFitsDeliversNothing) {
  ConsoleHost host(options_);
  ConversionRun().Run(host, "kein\tTreffer\r\n");
  EXPECT_FALSE(host.Delivered());
  EXPECT_TRUE(delivered_.empty());
}

}  // namespace
}  // namespace zw
