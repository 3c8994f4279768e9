#include "app/conversion_run.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/feedback_colours.h"
#include "base/errors.h"
#include "base/file_system.h"
#include "support/demo_data.h"
#include "support/fake_sleeper.h"
#include "support/temp_folder.h"

namespace zw {
namespace {

// The values of one order line that the hand-over passes on.
struct ReceivedLine {
  std::string Bezeichnung1;
  std::string Second;
  std::string Steuer;
};

// Records every effect of a run in order and answers as configured.
class FakeHost final : public ConversionHost {
 public:
  std::string ReadIPCValue(const std::string& name) override {
    Record(name);
    const auto answer = answers.find(name);
    return answer == answers.end() ? std::string() : answer->second;
  }
  bool PostOrderLines(const TExDataGridLines& lines) override {
    Record("Post");
    Receive(lines);
    return post_result;
  }
  ClipboardCheck TakeClipboard(std::string_view text) override {
    checked_text = std::string(text);
    if (clipboard_check == ClipboardCheck::Holds) Record("ClearClipboard");
    return clipboard_check;
  }
  ClipboardOutput CopyToClipboard(TExDataGridLines& lines) override {
    Record("Copy");
    Receive(lines);
    if (copy_gives_way) return ClipboardOutput::GaveWay;
    return copy_result ? ClipboardOutput::Placed : ClipboardOutput::Failed;
  }
  void ShowFeedback(std::uint32_t colour) override {
    if (colour == SuccessColour) {
      Record("Feedback(Success)");
    } else if (colour == NoMatchColour) {
      Record("Feedback(NoMatch)");
    } else {
      Record("Feedback(" + std::to_string(colour) + ")");
    }
  }
  void PlaySuccessSound() override { Record("Sound"); }
  void BringToForeground() override { Record("Foreground"); }
  Separators NumberSeparators() override { return {',', '.', ';'}; }
  std::string TemplateFolder() override { return folder; }
  Sleeper& RetrySleeper() override { return sleeper; }

  std::map<std::string, std::string> answers;
  bool post_result = true;
  bool copy_result = true;
  bool copy_gives_way = false;  // a copy was made between taking the clipboard and the output
  ClipboardCheck clipboard_check = ClipboardCheck::Holds;
  std::string checked_text;
  std::string folder;
  std::string throw_on;  // the recorded call that raises an error instead
  std::function<void(const std::string&)> on_call;  // runs at each recorded call
  test::FakeSleeper sleeper;

  std::vector<std::string> calls;
  std::vector<std::vector<ReceivedLine>> received;  // the lines of each post or copy

 private:
  void Record(const std::string& call) {
    calls.push_back(call);
    if (on_call) on_call(call);
    if (call == throw_on) throw Error("Fehler: " + call);
  }
  void Receive(const TCustomDataGridLines& lines) {
    std::vector<ReceivedLine>& copy = received.emplace_back();
    for (int i = 0; i < lines.Count(); ++i) {
      const TDataGridLine& line = lines.Items(i);
      copy.push_back({line.Bezeichnung1.str(), line.Second.str(), line.Steuer.str()});
    }
  }
};

using Calls = std::vector<std::string>;

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  if (at == std::string::npos) throw std::logic_error("not in the text: " + from);
  return text.replace(at, from.size(), to);
}

class ConversionRunTest : public ::testing::Test {
 protected:
  ConversionRunTest() {
    host_.folder = folder_.Path();
    host_.answers["TAXH"] = "8";
  }

  void AddDemoTemplate(const std::string& direct_to_brevanta = "1") {
    folder_.Write("glas.txt", Replaced(test::DemoRules(), "DirectToBrevanta=1\r\n",
                                       "DirectToBrevanta=" + direct_to_brevanta + "\r\n"));
  }

  bool RunDemo() { return run_.Run(host_, test::DemoCalculation()); }

  test::TempFolder folder_;
  FakeHost host_;
  ConversionRun run_;
};

const Calls kPosted = {"TAXH",  "ClearClipboard", "CANPOSTJSON", "Post", "Feedback(Success)",
                       "Sound", "Foreground"};
const Calls kCopiedAfterAsking = {
    "TAXH", "ClearClipboard", "CANPOSTJSON", "Copy", "Feedback(Success)", "Sound", "Foreground"};
const Calls kCopiedWithoutAsking = {"TAXH",  "ClearClipboard", "Copy", "Feedback(Success)",
                                    "Sound", "Foreground"};

TEST_F(ConversionRunTest, DemoWithDirectPostAndAcceptingServerIsPosted) {
  AddDemoTemplate();
  host_.answers["CANPOSTJSON"] = "1";
  EXPECT_TRUE(RunDemo());
  EXPECT_EQ(host_.calls, kPosted);
  ASSERT_EQ(host_.received.size(), 1u);
  ASSERT_EQ(host_.received[0].size(), 3u);
  EXPECT_EQ(host_.received[0][0].Bezeichnung1, "Float 3mm");
  EXPECT_EQ(host_.received[0][1].Bezeichnung1, "Kitt und Kleinmaterial");
  EXPECT_EQ(host_.received[0][2].Bezeichnung1, "Glasentsorgung");
  EXPECT_FALSE(run_.IsBusy());
}

class RefusedPostAnswer : public ConversionRunTest,
                          public ::testing::WithParamInterface<std::string> {};

TEST_P(RefusedPostAnswer, PutsTheLinesOnTheClipboard) {
  AddDemoTemplate();
  host_.answers["CANPOSTJSON"] = GetParam();
  EXPECT_TRUE(RunDemo());
  EXPECT_EQ(host_.calls, kCopiedAfterAsking);
  ASSERT_EQ(host_.received.size(), 1u);
  EXPECT_EQ(host_.received[0].size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(AnythingButOne, RefusedPostAnswer,
                         ::testing::Values("0", "1 ", " 1", "", "true", "11"));

class OtherDirectValue : public ConversionRunTest,
                         public ::testing::WithParamInterface<std::string> {};

TEST_P(OtherDirectValue, CopiesWithoutAskingTheServer) {
  AddDemoTemplate(GetParam());
  host_.answers["CANPOSTJSON"] = "1";
  RunDemo();
  EXPECT_EQ(host_.calls, kCopiedWithoutAsking);
  ASSERT_EQ(host_.received.size(), 1u);
  EXPECT_EQ(host_.received[0].size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(AnythingButOne, OtherDirectValue,
                         ::testing::Values("0", "", "1 ", " 1", "2", "ja"));

TEST_F(ConversionRunTest, WithoutMatchingTemplateOnlyTaxIsAskedAndNoMatchShown) {
  // Only the shipped files: "leer.txt" applies to nothing.
  EXPECT_FALSE(RunDemo());
  EXPECT_EQ(host_.calls, (Calls{"TAXH", "Feedback(NoMatch)"}));
  EXPECT_TRUE(host_.received.empty());
  EXPECT_FALSE(run_.IsBusy());
}

TEST_F(ConversionRunTest, TextThatNoTemplateAcceptsShowsNoMatch) {
  AddDemoTemplate();
  host_.answers["CANPOSTJSON"] = "1";
  run_.Run(host_, "Lieber Kunde,\r\nanbei die Offerte.\r\n");
  EXPECT_EQ(host_.calls, (Calls{"TAXH", "Feedback(NoMatch)"}));
}

TEST_F(ConversionRunTest, TaxAnswerIsTheTaxOfEveryLine) {
  AddDemoTemplate("0");
  host_.answers["TAXH"] = "7,7";
  RunDemo();
  ASSERT_EQ(host_.received.size(), 1u);
  ASSERT_EQ(host_.received[0].size(), 3u);
  for (const ReceivedLine& line : host_.received[0]) EXPECT_EQ(line.Steuer, "7,7");
}

TEST_F(ConversionRunTest, NoTaxAnswerLeavesTheTaxEmpty) {
  AddDemoTemplate("0");
  host_.answers.erase("TAXH");
  RunDemo();
  ASSERT_EQ(host_.received.size(), 1u);
  ASSERT_EQ(host_.received[0].size(), 3u);
  for (const ReceivedLine& line : host_.received[0]) EXPECT_EQ(line.Steuer, "");
}

TEST_F(ConversionRunTest, UnacceptedPostPutsTheLinesOnTheClipboard) {
  AddDemoTemplate();
  host_.answers["CANPOSTJSON"] = "1";
  host_.post_result = false;
  RunDemo();
  EXPECT_EQ(host_.calls, (Calls{"TAXH", "ClearClipboard", "CANPOSTJSON", "Post", "Copy",
                                "Feedback(Success)", "Sound", "Foreground"}));
  ASSERT_EQ(host_.received.size(), 2u);
  ASSERT_EQ(host_.received[1].size(), 3u);
  EXPECT_EQ(host_.received[1][0].Bezeichnung1, "Float 3mm");
  EXPECT_EQ(host_.received[1][2].Bezeichnung1, "Glasentsorgung");
}

TEST_F(ConversionRunTest, ACopyMadeDuringTheRunIsLeftForItsOwnRun) {
  AddDemoTemplate("0");
  host_.clipboard_check = ClipboardCheck::Replaced;
  EXPECT_FALSE(RunDemo());
  // Neither emptied nor overwritten, and no colour: the newer copy's run shows its own.
  EXPECT_EQ(host_.calls, (Calls{"TAXH"}));
  EXPECT_EQ(host_.checked_text, test::DemoCalculation());
  EXPECT_FALSE(run_.IsBusy());
}

// A copy made after the clipboard was taken, found while it is held for the output: the
// output gives way and no colour is shown, as for a copy found when taking it.
struct GiveWayCase {
  const char* direct;
  const char* can_post;
  Calls calls;
};

class CopyMadeBeforeTheOutput : public ConversionRunTest,
                                public ::testing::WithParamInterface<GiveWayCase> {};

TEST_P(CopyMadeBeforeTheOutput, LeavesTheNewerCopyAndShowsNoColour) {
  AddDemoTemplate(GetParam().direct);
  host_.answers["CANPOSTJSON"] = GetParam().can_post;
  host_.post_result = false;
  host_.copy_gives_way = true;
  RunDemo();
  EXPECT_EQ(host_.calls, GetParam().calls);
  EXPECT_FALSE(run_.IsBusy());
}

INSTANTIATE_TEST_SUITE_P(
    OnEveryWayToTheClipboard, CopyMadeBeforeTheOutput,
    ::testing::Values(GiveWayCase{"0", "1", {"TAXH", "ClearClipboard", "Copy"}},
                      GiveWayCase{"1", "0", {"TAXH", "ClearClipboard", "CANPOSTJSON", "Copy"}},
                      GiveWayCase{
                          "1", "1", {"TAXH", "ClearClipboard", "CANPOSTJSON", "Post", "Copy"}}));

TEST_F(ConversionRunTest, AClipboardHeldElsewhereAtTheHandOverKeepsTheTextAndShowsNoMatch) {
  AddDemoTemplate();
  host_.answers["CANPOSTJSON"] = "1";
  host_.clipboard_check = ClipboardCheck::Unavailable;
  EXPECT_FALSE(RunDemo());
  EXPECT_EQ(host_.calls, (Calls{"TAXH", "Feedback(NoMatch)"}));
  EXPECT_TRUE(host_.received.empty());
}

TEST_F(ConversionRunTest, FailedCopyShowsNoMatchWithoutSoundOrForeground) {
  AddDemoTemplate("0");
  host_.copy_result = false;
  EXPECT_FALSE(RunDemo());
  EXPECT_EQ(host_.calls, (Calls{"TAXH", "ClearClipboard", "Copy", "Feedback(NoMatch)"}));
  EXPECT_FALSE(run_.IsBusy());
}

TEST_F(ConversionRunTest, UnacceptedPostAndFailedCopyShowNoMatch) {
  AddDemoTemplate();
  host_.answers["CANPOSTJSON"] = "1";
  host_.post_result = false;
  host_.copy_result = false;
  EXPECT_FALSE(RunDemo());
  EXPECT_EQ(host_.calls,
            (Calls{"TAXH", "ClearClipboard", "CANPOSTJSON", "Post", "Copy", "Feedback(NoMatch)"}));
}

class RunEnteredDuringARun : public ConversionRunTest,
                             public ::testing::WithParamInterface<std::string> {};

TEST_P(RunEnteredDuringARun, DoesNothingAndLeavesNoTrace) {
  AddDemoTemplate();
  // Converts the text of the nested run, which must be dropped.
  folder_.Write("rohr.txt", "Delimeter=;\r\nQuantity=A\r\nDescription1=B\r\nPrice=C\r\n");
  host_.answers["CANPOSTJSON"] = "1";
  int nested_runs = 0;
  bool busy_inside = false;
  bool nested_delivered = true;
  host_.on_call = [&](const std::string& call) {
    if (call != GetParam() || nested_runs++ > 0) return;
    busy_inside = run_.IsBusy();
    nested_delivered = run_.Run(host_, "2;Rohr;3\r\n");
  };
  EXPECT_TRUE(RunDemo());
  EXPECT_EQ(nested_runs, 1);
  EXPECT_TRUE(busy_inside);
  EXPECT_FALSE(nested_delivered);
  EXPECT_EQ(host_.calls, kPosted);
  ASSERT_EQ(host_.received.size(), 1u);
  EXPECT_EQ(host_.received[0].size(), 3u);
  EXPECT_FALSE(run_.IsBusy());
}

INSTANTIATE_TEST_SUITE_P(AtEveryStep, RunEnteredDuringARun,
                         ::testing::Values("TAXH", "ClearClipboard", "CANPOSTJSON", "Post",
                                           "Feedback(Success)", "Sound", "Foreground"));

TEST_F(ConversionRunTest, NestedTextConvertsWhenNoRunIsActive) {
  // The nested text of the test above is convertible on its own.
  AddDemoTemplate();
  folder_.Write("rohr.txt", "Delimeter=;\r\nQuantity=A\r\nDescription1=B\r\nPrice=C\r\n");
  run_.Run(host_, "2;Rohr;3\r\n");
  EXPECT_EQ(host_.calls, kCopiedWithoutAsking);
  ASSERT_EQ(host_.received.size(), 1u);
  ASSERT_EQ(host_.received[0].size(), 1u);
  EXPECT_EQ(host_.received[0][0].Bezeichnung1, "Rohr");
}

TEST_F(ConversionRunTest, NextRunAfterARunConvertsNormally) {
  AddDemoTemplate("0");
  RunDemo();
  RunDemo();
  Calls twice = kCopiedWithoutAsking;
  twice.insert(twice.end(), kCopiedWithoutAsking.begin(), kCopiedWithoutAsking.end());
  EXPECT_EQ(host_.calls, twice);
}

TEST_F(ConversionRunTest, TemplateFolderErrorPassesOutAfterNoMatch) {
  const std::string file = folder_.Write("datei", "x");
  host_.folder = file + kPathDelimiter + "Vorlagen" + kPathDelimiter;
  EXPECT_THROW(RunDemo(), FileCreateError);
  EXPECT_EQ(host_.calls, (Calls{"TAXH", "Feedback(NoMatch)"}));
  EXPECT_FALSE(run_.IsBusy());

  // Busy was cleared: the next run converts.
  host_.folder = folder_.Path();
  AddDemoTemplate("0");
  host_.calls.clear();
  RunDemo();
  EXPECT_EQ(host_.calls, kCopiedWithoutAsking);
}

TEST_F(ConversionRunTest, ExchangeErrorDuringHandOverPutsTheLinesOnTheClipboardAndPassesOut) {
  // The copied text is gone from the clipboard by then: the lines must land there.
  for (const std::string failing : {"CANPOSTJSON", "Post"}) {
    SCOPED_TRACE(failing);
    AddDemoTemplate();
    host_.answers["CANPOSTJSON"] = "1";
    host_.throw_on = failing;
    host_.calls.clear();
    host_.received.clear();
    EXPECT_THROW(RunDemo(), Error);
    Calls expected = {"TAXH", "ClearClipboard", "CANPOSTJSON"};
    if (failing == "Post") expected.push_back("Post");
    expected.insert(expected.end(), {"Copy", "Feedback(NoMatch)"});
    EXPECT_EQ(host_.calls, expected);
    ASSERT_FALSE(host_.received.empty());
    EXPECT_EQ(host_.received.back().size(), 3u);
    EXPECT_FALSE(run_.IsBusy());
  }
}

TEST_F(ConversionRunTest, ErrorBeforeTheSoundEndsWithNoMatch) {
  AddDemoTemplate("0");
  host_.throw_on = "Sound";
  EXPECT_THROW(RunDemo(), Error);
  EXPECT_EQ(host_.calls, (Calls{"TAXH", "ClearClipboard", "Copy", "Feedback(Success)", "Sound",
                                "Feedback(NoMatch)"}));
}

TEST_F(ConversionRunTest, ErrorAfterTheSoundKeepsTheSuccessColour) {
  AddDemoTemplate("0");
  host_.throw_on = "Foreground";
  EXPECT_THROW(RunDemo(), Error);
  EXPECT_EQ(host_.calls, kCopiedWithoutAsking);
  EXPECT_FALSE(run_.IsBusy());
}

TEST_F(ConversionRunTest, ErrorWhileClearingTheClipboardIsIgnored) {
  AddDemoTemplate("0");
  host_.throw_on = "ClearClipboard";
  RunDemo();
  EXPECT_EQ(host_.calls, kCopiedWithoutAsking);
}

TEST_F(ConversionRunTest, FailingNoMatchColourDoesNotReplaceTheRunError) {
  const std::string file = folder_.Write("datei", "x");
  host_.folder = file + kPathDelimiter;
  host_.throw_on = "Feedback(NoMatch)";
  EXPECT_THROW(RunDemo(), FileCreateError);
  EXPECT_FALSE(run_.IsBusy());
}

TEST_F(ConversionRunTest, FailingNoMatchColourPassesOutAndClearsBusy) {
  host_.throw_on = "Feedback(NoMatch)";
  EXPECT_THROW(RunDemo(), Error);
  EXPECT_FALSE(run_.IsBusy());
}

TEST_F(ConversionRunTest, LongDescriptionIsCutAtTheTemplatesLimitBeforeTheHandOver) {
  folder_.Write("lang.txt",
                "Delimeter=;\r\nQuantity=A\r\nDescription1=B\r\nPrice=C\r\n"
                "Description1ToLongText=10\r\nDirectToBrevanta=1\r\n");
  host_.answers["CANPOSTJSON"] = "1";
  run_.Run(host_, "2;Fensterglas klar geh\xE4rtet;5\r\n1;Kitt;3\r\n");
  EXPECT_EQ(host_.calls, kPosted);
  ASSERT_EQ(host_.received.size(), 1u);
  ASSERT_EQ(host_.received[0].size(), 2u);
  EXPECT_EQ(host_.received[0][0].Bezeichnung1, "Fensterglas ");
  EXPECT_EQ(host_.received[0][0].Second, " klar geh\xE4rtet");
  EXPECT_EQ(host_.received[0][1].Bezeichnung1, "Kitt");
  EXPECT_EQ(host_.received[0][1].Second, "");
}

TEST_F(ConversionRunTest, ShortDescriptionsOfTheDemoStayWhole) {
  AddDemoTemplate("0");
  RunDemo();
  ASSERT_EQ(host_.received.size(), 1u);
  ASSERT_EQ(host_.received[0].size(), 3u);
  EXPECT_EQ(host_.received[0][1].Bezeichnung1, "Kitt und Kleinmaterial");
  EXPECT_EQ(host_.received[0][1].Second, "");
}

TEST(FeedbackColours, AreTheBgrValuesOfThePanel) {
  EXPECT_EQ(IdleColour, 7987711u);
  EXPECT_EQ(SuccessColour, 14794653u);
  EXPECT_EQ(NoMatchColour, 8421504u);
}

}  // namespace
}  // namespace zw
