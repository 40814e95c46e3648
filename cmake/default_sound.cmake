# Makes the default voice prompt (default.mp3) at build time from the
# project's own script with sox and lame, puts it beside the executable
# (where the program looks first) and installs it in the program's data
# folder.
# Included after the program target exists.
find_program(SOX_EXECUTABLE sox)
find_program(LAME_EXECUTABLE lame)
if(NOT SOX_EXECUTABLE OR NOT LAME_EXECUTABLE)
  message(FATAL_ERROR
    "sox and lame not found. The default sound is made at build time: "
    "install sox and lame (scripts/setup.sh installs every package the build needs).")
endif()

set(DEFAULT_SOUND_SCRIPT ${CMAKE_SOURCE_DIR}/assets/sounds/make_default_chime.sh)
set(DEFAULT_SOUND ${CMAKE_BINARY_DIR}/bin/default.mp3)
add_custom_command(OUTPUT ${DEFAULT_SOUND}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin
  COMMAND sh ${DEFAULT_SOUND_SCRIPT} ${DEFAULT_SOUND}
  DEPENDS ${DEFAULT_SOUND_SCRIPT}
  COMMENT "Making the default sound default.mp3"
  VERBATIM)
add_custom_target(olvo_default_sound ALL DEPENDS ${DEFAULT_SOUND})
add_dependencies(olvo-reminder olvo_default_sound)
install(FILES ${DEFAULT_SOUND} DESTINATION ${OLVO_INSTALL_DATADIR})
