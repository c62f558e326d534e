# Windows-only adjustments to targets defined elsewhere.

# The SDK's UTF-16 type is wchar_t with mingw, so u"..." literals and
# std::u16string (char16_t) do not convert to it; STR16 and
# std::basic_string<TChar> are the portable spellings. Until a target's sources
# use them, they are compiled from build-tree copies with L"..." and
# std::wstring (the same 16-bit units on Windows), char16_t as wchar_t, except
# where char16_t stands in a cast to it.
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
      if(text MATCHES "(^|[^A-Za-z0-9_])u\"" AND NOT text MATCHES "_cast<const char16_t")
        string(REGEX REPLACE "(^|[^A-Za-z0-9_])u\"" "\\1L\"" text "${text}")
        string(REPLACE "std::u16string" "std::wstring" text "${text}")
        string(REPLACE "char16_t" "wchar_t" text "${text}")
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
