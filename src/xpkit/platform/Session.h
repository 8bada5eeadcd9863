// Everything the drawing and window calls share, owned by one object: the GDI objects
// and fonts, the windows, the cursor, capture and update lock, and the ANSI code page of
// the text calls. A host owns one or is given one; two sessions never see each other's
// handles, windows, capture or lock, and each may be used from a thread of its own.
#pragma once
#include "xpkit/codepage/CodePage.h"
#include "xpkit/platform/Gdi.h"
#include "xpkit/platform/SessionTag.h"
#include "xpkit/platform/User.h"

namespace xpkit {

class Session {
 public:
  // Error(TooManySessions) when 127 sessions are alive already.
  explicit Session(const CodePage& codePage = SystemCodePage())
      : gdi_(tag_.value(), codePage), user_(tag_.value(), gdi_) {}
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  const CodePage& codePage() const { return gdi_.codePage(); }
  Gdi& gdi() { return gdi_; }
  User& user() { return user_; }
  const User& user() const { return user_; }

 private:
  SessionTag tag_;  // first: the calls stamp it into their handles
  Gdi gdi_;
  User user_;       // after the GDI: a window frees its region there
};

}  // namespace xpkit
