# `cpack -G DEB` packs everything the install rules install, below /usr.
# Library dependencies come from dpkg-shlibdeps over the installed
# executables; the packages added by hand are what the program needs at run
# time without linking to it: GStreamer's plugins to decode and play the
# sounds, xdg-open for links and files, and a font with wide coverage.
set(CPACK_PACKAGE_NAME olvo-reminder)
set(CPACK_PACKAGE_VENDOR "Olvo Reminder")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "personal reminders with alerts from the system tray")
# The control file takes the long description line by line as written.
set(CPACK_PACKAGE_DESCRIPTION [=[
Olvo Reminder keeps a list of reminders, each with a due date and time,
a repeat rule and a sound. It lives in the system tray, checks every
five seconds which reminders are due and shows an alert that slides up
from the corner of the screen.

The olvoctl command lists and changes the same reminders from a
terminal.]=])
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Olvo Reminder maintainers <maintainers@olvo-reminder.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, xdg-utils, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
