# The robustness cases as a library, for the fuzz targets and for the tests
# that replay the corpora; included from both, defined once.
include("${PROJECT_SOURCE_DIR}/tests/support/Core.cmake")
if(NOT TARGET kv_robustness_harness)
  add_library(kv_robustness_harness STATIC
      "${CMAKE_CURRENT_LIST_DIR}/HarnessSupport.cpp"
      "${CMAKE_CURRENT_LIST_DIR}/StateCases.cpp"
      "${CMAKE_CURRENT_LIST_DIR}/ProcessCase.cpp"
      "${CMAKE_CURRENT_LIST_DIR}/TextCases.cpp"
      "${CMAKE_CURRENT_LIST_DIR}/UIDescriptionCase.cpp")
  target_include_directories(kv_robustness_harness PUBLIC "${PROJECT_SOURCE_DIR}")
  target_link_libraries(kv_robustness_harness PUBLIC kv_test_core kv_hosting kv_vst2_abi kv_gui)
  kalvior_warnings(kv_robustness_harness)
endif()
