// Pictures compared exactly with their golden PNGs in tests/golden/.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "xpkit/platform/Bitmap.h"

namespace xpkit::test {

// Success when `actual` equals tests/golden/NAME.png pixel for pixel, alpha included.
// Otherwise NAME.actual.png, NAME.expected.png and NAME.diff.png go to the pictures folder
// ($XPKIT_TEST_ARTIFACTS, else the build's Testing/pictures), and the failure names that
// folder and the first differing pixel with both colours. scripts/update-goldens.sh
// makes the goldens; the tests only read them.
::testing::AssertionResult MatchesGolden(const Bitmap& actual, const std::string& name);

}  // namespace xpkit::test
