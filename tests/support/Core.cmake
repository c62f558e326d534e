# The support that needs no test framework, shared by the tests and the fuzz
# targets: state records, raw parameter queues, the processing host, the
# VST 2 host callback. Included from both, defined once.
if(NOT TARGET kv_test_core)
  add_library(kv_test_core STATIC
      "${CMAKE_CURRENT_LIST_DIR}/StateRecords.cpp"
      "${CMAKE_CURRENT_LIST_DIR}/ProcessingHost.cpp"
      "${CMAKE_CURRENT_LIST_DIR}/Vst2HostCore.cpp")
  target_include_directories(kv_test_core PUBLIC "${PROJECT_SOURCE_DIR}")
  target_link_libraries(kv_test_core PUBLIC kv_hosting kv_vst2_abi Threads::Threads)
  kalvior_warnings(kv_test_core)
endif()
