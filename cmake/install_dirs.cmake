# Where `cmake --install` and the Debian package put the program's files,
# relative to the installation prefix. The program finds its data in
# ../share/olvo-reminder/ from its executable's folder, so these stay fixed
# rather than follow GNUInstallDirs (whose LIBDIR, for one, may hold a
# multiarch triplet).
set(OLVO_INSTALL_BINDIR bin)
set(OLVO_INSTALL_DATADIR share/olvo-reminder)
# Modules the program loads at run time.
set(OLVO_INSTALL_MODULEDIR lib/olvo-reminder)

# Folders made by the install are world-readable whatever the umask of the
# one who installs (the Debian package takes them as they are).
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
