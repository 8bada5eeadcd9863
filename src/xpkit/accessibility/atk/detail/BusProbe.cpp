#include "xpkit/accessibility/atk/detail/BusProbe.h"

#include <dbus/dbus.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

namespace xpkit::atk {
namespace {

constexpr int kReplyTimeoutMs = 500;

// A session bus is named, or lies where libdbus looks without one named. Without either
// libdbus would try to launch one.
bool SessionBusExists() {
  if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"))
    return *address && std::string_view(address) != "disabled:";
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  return runtime && *runtime && access((std::string(runtime) + "/bus").c_str(), F_OK) == 0;
}

struct ConnectionCloser {
  void operator()(DBusConnection* c) const {
    dbus_connection_close(c);
    dbus_connection_unref(c);
  }
};
struct MessageUnref {
  void operator()(DBusMessage* m) const { dbus_message_unref(m); }
};
using Message = std::unique_ptr<DBusMessage, MessageUnref>;

// A boolean of org.a11y.Status; false when it cannot be read. The launcher is not
// started for the question: it runs, or nobody listens.
bool Status(DBusConnection* bus, const char* property) {
  Message call(dbus_message_new_method_call("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Get"));
  if (!call) return false;
  const char* interface = "org.a11y.Status";
  dbus_message_append_args(call.get(), DBUS_TYPE_STRING, &interface, DBUS_TYPE_STRING, &property, DBUS_TYPE_INVALID);
  dbus_message_set_auto_start(call.get(), FALSE);
  Message reply(dbus_connection_send_with_reply_and_block(bus, call.get(), kReplyTimeoutMs, nullptr));
  if (!reply) return false;
  DBusMessageIter it, variant;
  if (!dbus_message_iter_init(reply.get(), &it) || dbus_message_iter_get_arg_type(&it) != DBUS_TYPE_VARIANT)
    return false;
  dbus_message_iter_recurse(&it, &variant);
  if (dbus_message_iter_get_arg_type(&variant) != DBUS_TYPE_BOOLEAN) return false;
  dbus_bool_t value = FALSE;
  dbus_message_iter_get_basic(&variant, &value);
  return value;
}

}  // namespace

bool AccessibilityWanted() {
  if (const char* off = std::getenv("NO_AT_BRIDGE"); off && std::string_view(off) == "1") return false;
  if (!SessionBusExists()) return false;
  std::unique_ptr<DBusConnection, ConnectionCloser> bus(dbus_bus_get_private(DBUS_BUS_SESSION, nullptr));
  if (!bus) return false;
  dbus_connection_set_exit_on_disconnect(bus.get(), FALSE);
  if (!dbus_bus_name_has_owner(bus.get(), "org.a11y.Bus", nullptr)) return false;
  return Status(bus.get(), "IsEnabled") || Status(bus.get(), "ScreenReaderEnabled");
}

}  // namespace xpkit::atk
