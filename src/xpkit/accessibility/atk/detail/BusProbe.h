// Whether assistive technology wants toolkits on the accessibility bus.
#pragma once

namespace xpkit::atk {

// True when NO_AT_BRIDGE is not "1", a session bus runs, the accessibility bus's
// launcher (org.a11y.Bus) is on it, and its status says IsEnabled or
// ScreenReaderEnabled. Asked over a private libdbus connection: no thread, no service
// started on the way, nothing printed; false at once where no session bus runs.
bool AccessibilityWanted();

}  // namespace xpkit::atk
