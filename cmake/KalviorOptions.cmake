# Warnings for the project's own code; third-party sources get none.
function(kalvior_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

if(KALVIOR_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(KALVIOR_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
if(KALVIOR_BUILD_FUZZ)
  # libFuzzer steers by coverage of the whole tree, so every library is
  # instrumented; any sanitizer finding stops the run.
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "KALVIOR_BUILD_FUZZ needs clang (CC=clang CXX=clang++)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

find_package(Threads REQUIRED)

find_program(KALVIOR_CCACHE ccache)
if(KALVIOR_CCACHE)
  set(CMAKE_C_COMPILER_LAUNCHER "${KALVIOR_CCACHE}")
  set(CMAKE_CXX_COMPILER_LAUNCHER "${KALVIOR_CCACHE}")
endif()
