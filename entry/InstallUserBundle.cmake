# Copies the built bundle to ~/.vst3, replacing an older copy, and links its
# module into ~/.vst, where VST 2 hosts look.
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

# The link points into the installed bundle, so the module still finds the
# bundle's resources (it resolves its own path).
file(GLOB modules "${target}/Contents/*-linux/*.so")
foreach(module ${modules})
  get_filename_component(moduleName "${module}" NAME)
  file(MAKE_DIRECTORY "$ENV{HOME}/.vst")
  file(REMOVE "$ENV{HOME}/.vst/${moduleName}")
  file(CREATE_LINK "${module}" "$ENV{HOME}/.vst/${moduleName}" SYMBOLIC)
  message(STATUS "Linked $ENV{HOME}/.vst/${moduleName} for VST 2 hosts")
endforeach()
