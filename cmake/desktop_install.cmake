# The pieces that make the installed program a desktop program: its menu
# entry, its AppStream description and its manual pages. The icons come
# from the rendered icon theme tree (skin_artwork.cmake).
set(OLVO_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/assets/desktop)
install(FILES ${OLVO_DESKTOP_DIR}/olvo-reminder.desktop DESTINATION share/applications)
install(FILES ${OLVO_DESKTOP_DIR}/org.olvo.reminder.metainfo.xml DESTINATION share/metainfo)
install(FILES ${OLVO_DESKTOP_DIR}/olvo-reminder.1 ${OLVO_DESKTOP_DIR}/olvoctl.1 DESTINATION share/man/man1)
