# The processing chain, the processor's audio thread and the scope feed: the scope bytes directly;
# the adapter and the scope messages through the built bundle.
add_executable(kv_chain_tests
    ScopeFeedTest.cpp
    ProcessingChainTest.cpp)
target_link_libraries(kv_chain_tests PRIVATE kv_processor kv_test_support GTest::gtest_main)
add_dependencies(kv_chain_tests Kalvior)
kalvior_warnings(kv_chain_tests)
gtest_discover_tests(kv_chain_tests TEST_PREFIX "processor." DISCOVERY_MODE PRE_TEST)

# Allocations and locks on the audio thread. The executable exports its
# counting allocator and lock functions so that the bundle it loads uses them.
add_executable(kv_realtime_tests RealtimeTest.cpp)
target_link_libraries(kv_realtime_tests PRIVATE kv_realtime_counting kv_test_support GTest::gtest_main)
set_target_properties(kv_realtime_tests PROPERTIES ENABLE_EXPORTS ON)
add_dependencies(kv_realtime_tests Kalvior)
kalvior_warnings(kv_realtime_tests)
gtest_discover_tests(kv_realtime_tests TEST_PREFIX "processor." DISCOVERY_MODE PRE_TEST)

# Peers connecting and disconnecting while the scope worker sends: run it in
# the ThreadSanitizer build (label "tsan").
add_executable(kv_scope_race_tests ScopeRaceTest.cpp)
target_link_libraries(kv_scope_race_tests PRIVATE kv_processor kv_test_support GTest::gtest_main Threads::Threads)
add_dependencies(kv_scope_race_tests Kalvior)
kalvior_warnings(kv_scope_race_tests)
gtest_discover_tests(kv_scope_race_tests TEST_PREFIX "processor." DISCOVERY_MODE PRE_TEST PROPERTIES LABELS tsan)
