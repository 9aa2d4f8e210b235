"""python3-dbusmock template: a panel's StatusNotifierWatcher with its host
registered, ready with its methods the moment its name is taken (as a real
panel's is, so that an icon registering at once is heard)."""

import dbus

BUS_NAME = "org.kde.StatusNotifierWatcher"
MAIN_OBJ = "/StatusNotifierWatcher"
MAIN_IFACE = "org.kde.StatusNotifierWatcher"
SYSTEM_BUS = False


def load(mock, parameters):
    mock.AddProperties(MAIN_IFACE, {
        "IsStatusNotifierHostRegistered": True,
        "ProtocolVersion": dbus.Int32(0),
        "RegisteredStatusNotifierItems": dbus.Array([], signature="s")})
    mock.AddMethod(MAIN_IFACE, "RegisterStatusNotifierItem", "s", "",
                   f"self.Set('{MAIN_IFACE}', 'RegisteredStatusNotifierItems',"
                   f" self.Get('{MAIN_IFACE}', 'RegisteredStatusNotifierItems') + [args[0]])")
    mock.AddMethod(MAIN_IFACE, "RegisterStatusNotifierHost", "s", "", "")
