# The install rules, run into a temporary prefix by the test itself: the
# installed tree's layout and the installed programs finding their data.
# Included from tests/CMakeLists.txt, so paths are relative to tests/.
olvo_test_suite(install_tests install unit olvo_platform)
if(TARGET install_tests)
  target_compile_definitions(install_tests PRIVATE
    OLVO_CMAKE_COMMAND="${CMAKE_COMMAND}"
    OLVO_BUILD_DIR="${CMAKE_BINARY_DIR}")
  # Everything the install rules copy must be built first.
  add_dependencies(install_tests olvo-reminder)
  if(TARGET olvoctl)
    add_dependencies(install_tests olvoctl)
  endif()
endif()
