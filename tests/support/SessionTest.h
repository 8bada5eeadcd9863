// A session of its own for each test of the drawing and window calls.
#pragma once
#include <gtest/gtest.h>

#include "xpkit/platform/Session.h"

namespace xpkit::test {

class SessionTest : public ::testing::Test {
 protected:
  Session session{CodePage::Get(1256)};
  Gdi& gdi = session.gdi();
  User& user = session.user();
};

}  // namespace xpkit::test
