# Copies the built bundle to ~/.vst3, replacing an older copy.
# Usage: cmake -DBUNDLE=<path/Kalvior.vst3> -P InstallUserBundle.cmake
if(NOT BUNDLE OR NOT IS_DIRECTORY "${BUNDLE}")
  message(FATAL_ERROR "No bundle at '${BUNDLE}'")
endif()
if(NOT DEFINED ENV{HOME} OR "$ENV{HOME}" STREQUAL "")
  message(FATAL_ERROR "HOME is not set: cannot find ~/.vst3")
endif()
get_filename_component(name "${BUNDLE}" NAME)
set(target "$ENV{HOME}/.vst3/${name}")
file(REMOVE_RECURSE "${target}")
file(MAKE_DIRECTORY "$ENV{HOME}/.vst3")
file(COPY "${BUNDLE}" DESTINATION "$ENV{HOME}/.vst3" USE_SOURCE_PERMISSIONS)
message(STATUS "Installed ${target}")
