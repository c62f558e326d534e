# Windows-only adjustments to targets defined elsewhere.

# The SDK's UTF-16 type is wchar_t with mingw, so u"..." literals (char16_t)
# do not convert to it; STR16 is the portable spelling. Until a target's
# sources use it, they are compiled from build-tree copies with L"..." (the
# same 16-bit units on Windows).
function(kalvior_wide_literals target)
  get_target_property(sources ${target} SOURCES)
  get_target_property(sourceDir ${target} SOURCE_DIR)
  set(rewritten "")
  foreach(source ${sources})
    if(NOT IS_ABSOLUTE "${source}")
      set(source "${sourceDir}/${source}")
    endif()
    if(source MATCHES "\\.cpp$")
      file(READ "${source}" text)
      if(text MATCHES "(^|[^A-Za-z0-9_])u\"")
        string(REGEX REPLACE "(^|[^A-Za-z0-9_])u\"" "\\1L\"" text "${text}")
        file(RELATIVE_PATH relative "${PROJECT_SOURCE_DIR}" "${source}")
        set(copy "${CMAKE_BINARY_DIR}/wide-literals/${relative}")
        file(CONFIGURE OUTPUT "${copy}" CONTENT "${text}" @ONLY)
        set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${source}")
        set(source "${copy}")
      endif()
    endif()
    list(APPEND rewritten "${source}")
  endforeach()
  set_property(TARGET ${target} PROPERTY SOURCES ${rewritten})
endfunction()
