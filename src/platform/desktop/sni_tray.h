// Which way the desktop host's tray icon reaches the desktop. The icon
// (CreateDesktopTrayIcon) is a status-notifier item while a watcher is on
// the session bus, the way current panels show tray icons, and an icon in
// the XEmbed tray (the _NET_SYSTEM_TRAY_S<n> selection owner) otherwise;
// it moves between the two as watchers come and go.
#pragma once

#include "platform/gui/native_controls.h"

enum class TTrayKind { StatusNotifier, XEmbed };

// The kind in use now for an icon CreateDesktopTrayIcon made.
TTrayKind DesktopTrayKind(const TTrayIcon& icon);
