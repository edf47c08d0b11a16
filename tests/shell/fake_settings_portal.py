# A stand-in for the desktop's settings portal on a private session bus:
#   fake_settings_portal.py SCHEME CONTRAST DELAY
# answers ReadAll with the appearance namespace's color-scheme SCHEME and
# contrast CONTRAST; after DELAY seconds (0: never) it announces contrast 1
# with SettingChanged. Says "portal: ready" once it holds the portal's name.
import sys

import gi

gi.require_version('Gio', '2.0')
from gi.repository import Gio, GLib
scheme, contrast, delay = int(sys.argv[1]), int(sys.argv[2]), float(sys.argv[3])
XML = """<node><interface name='org.freedesktop.portal.Settings'>
<method name='ReadAll'><arg type='as' direction='in'/><arg type='a{sa{sv}}' direction='out'/></method>
<method name='Read'><arg type='s' direction='in'/><arg type='s' direction='in'/><arg type='v' direction='out'/></method>
<signal name='SettingChanged'><arg type='s'/><arg type='s'/><arg type='v'/></signal>
</interface></node>"""
node = Gio.DBusNodeInfo.new_for_xml(XML)
def call(conn, sender, path, iface, method, params, inv):
    if method == 'ReadAll':
        inv.return_value(GLib.Variant('(a{sa{sv}})', ({'org.freedesktop.appearance': {
            'color-scheme': GLib.Variant('u', scheme), 'contrast': GLib.Variant('u', contrast)}},)))
    else:
        inv.return_dbus_error('org.freedesktop.portal.Error.NotFound', 'no')
def acquired(conn, name):
    conn.register_object('/org/freedesktop/portal/desktop', node.interfaces[0], call, None, None)
    def change():
        conn.emit_signal(None, '/org/freedesktop/portal/desktop', 'org.freedesktop.portal.Settings', 'SettingChanged',
                         GLib.Variant('(ssv)', ('org.freedesktop.appearance', 'contrast', GLib.Variant('u', 1))))
        print('portal: sent contrast=1', flush=True)
        return False
    if delay > 0: GLib.timeout_add(int(delay * 1000), change)
    print('portal: ready', flush=True)
Gio.bus_own_name(Gio.BusType.SESSION, 'org.freedesktop.portal.Desktop', 0, None, acquired, None)
GLib.MainLoop().run()
