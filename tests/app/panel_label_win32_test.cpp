// The panel's label in the font the panel draws it with: Tahoma (under Wine the one of Debian's
// fonts-wine, which has Tahoma's widths; a stand-in font is wider and cuts the label short).
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "app/panel_painting_win32.h"

namespace zw {
namespace {

struct DcDelete {
  void operator()(HDC dc) const { DeleteDC(dc); }
};

class PanelLabel : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dc_); }

  const std::unique_ptr<std::remove_pointer_t<HDC>, DcDelete> dc_{CreateCompatibleDC(nullptr)};
};

TEST_F(PanelLabel, IsDrawnInTahoma) { EXPECT_EQ(MeasureLabel(dc_.get()).Face, "Tahoma"); }

// Windows' Tahoma has each letter's width rounded to whole pixels at the panel's size; the
// label's place was made for exactly that word.
TEST_F(PanelLabel, FitsItsPlaceInTahomasOwnWidths) {
  constexpr int kScale = 64;
  const LabelMeasure large = MeasureLabel(dc_.get(), kScale);
  ASSERT_EQ(large.Advances.size(), std::string_view(kLabelText).size());
  int width = 0;
  for (const int advance : large.Advances) {
    width += static_cast<int>(std::lround(static_cast<double>(advance) / kScale));
  }
  EXPECT_LE(width, kLabel.right - kLabel.left) << "the label does not fit its place";
}

// As this system draws it, hinting included, the whole word stays inside the panel's margin
// (the right edge of the X button), and its height inside the label's.
TEST_F(PanelLabel, AsDrawnEndsInsideThePanel) {
  const LabelMeasure drawn = MeasureLabel(dc_.get());
  EXPECT_LE(kLabel.left + drawn.Extent.cx, kCloseButton.right);
  EXPECT_LE(drawn.Extent.cy, kLabel.bottom - kLabel.top);
}

}  // namespace
}  // namespace zw
