#include "base/Color.h"

#include <gtest/gtest.h>

namespace kelu {
namespace {

TEST(TColor, NamesAndNumbersRoundTrip) {
  struct Case {
    TColor color;
    const char* text;
  };
  const Case cases[] = {
      {clWindowText, "clWindowText"},
      {clSilver, "clSilver"},
      {clNone, "clNone"},
      {clNavy, "clNavy"},
      {0x123456, "$00123456"},
      {clWindow, "clWindow"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ColorToString(c.color), c.text);
    EXPECT_EQ(StringToColor(c.text), c.color) << c.text;
  }
  EXPECT_EQ(clNone, 536870911);
  EXPECT_EQ(clNavy, 8388608);
  EXPECT_EQ(StringToColor("clsilver"), clSilver);
  EXPECT_EQ(StringToColor("255"), clRed);
  EXPECT_FALSE(StringToColor("clNoSuchColour").has_value());
  EXPECT_FALSE(StringToColor("$").has_value());
}

TEST(TColor, SystemColoursResolveToRgb) {
  EXPECT_EQ(ColorToRGB(clWindow), clWhite);
  EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
  EXPECT_EQ(ColorToRGB(clGray), clGray);
  EXPECT_EQ(RedOf(ColorToRGB(clRed)), 255);
}

}  // namespace
}  // namespace kelu
