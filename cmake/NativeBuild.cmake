# Native build: the core's unit tests and benchmarks.

file(GLOB CORE_TEST_SOURCES CONFIGURE_DEPENDS tests/core/*.cpp)
add_executable(core_tests ${CORE_TEST_SOURCES})
reminder_target(core_tests)
target_include_directories(core_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(core_tests PRIVATE reminder_core gtest_main gmock)
reminder_gtest(core_tests)

find_package(benchmark QUIET)
if(benchmark_FOUND)
  file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS bench/*.cpp)
  add_executable(reminder_bench ${BENCH_SOURCES})
  reminder_target(reminder_bench)
  target_link_libraries(reminder_bench PRIVATE reminder_core benchmark::benchmark_main)
endif()

# The HTTP client of sync over libcurl, which it loads when sync needs it.
find_package(CURL REQUIRED)
add_library(reminder_curl STATIC src/tools/net/CurlHttpClient.cpp)
reminder_target(reminder_curl)
target_include_directories(reminder_curl PRIVATE ${CURL_INCLUDE_DIRS})
target_link_libraries(reminder_curl PUBLIC reminder_core ${CMAKE_DL_LIBS})

# The command-line companion: its logic lives in the core, only the entry point here.
add_executable(reminderctl src/tools/reminderctl/main.cpp)
reminder_target(reminderctl)
target_link_libraries(reminderctl PRIVATE reminder_curl)
if(NOT REMINDER_SANITIZE)
  # Scripts start the tool often; without the shared C++ runtime it starts faster.
  target_link_options(reminderctl PRIVATE -static-libstdc++ -static-libgcc)
endif()

# The CalDAV requests and sync against a real server, which the test command starts
# (REMINDER_TEST_CALDAV_URL).
file(GLOB SYNC_TEST_SOURCES CONFIGURE_DEPENDS tests/sync/*.cpp)
add_executable(sync_tests ${SYNC_TEST_SOURCES})
reminder_target(sync_tests)
target_include_directories(sync_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(sync_tests PRIVATE reminder_curl gtest_main)
reminder_gtest(sync_tests)
