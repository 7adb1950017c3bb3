# Windows build: the shell, the programs and the tests that run under Wine.

add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 NOMINMAX WIN32_LEAN_AND_MEAN)
add_link_options(-static -static-libgcc -static-libstdc++)

option(REMINDER_STRIP "Link without symbols, as the release ships them" OFF)
if(REMINDER_STRIP)
  add_link_options(-s)
endif()

file(GLOB_RECURSE SHELL_SOURCES CONFIGURE_DEPENDS src/win32/*.cpp)
list(FILTER SHELL_SOURCES EXCLUDE REGEX "/src/win32/programs/")
add_library(reminder_shell STATIC ${SHELL_SOURCES})
reminder_target(reminder_shell)
target_link_libraries(reminder_shell PUBLIC reminder_core user32 gdi32 advapi32 shell32
                      comctl32 uxtheme winmm version winhttp crypt32)

# The resources (version, cursors, icons) go into every program and the module itself:
# a static library would drop them, since nothing refers to them by symbol.
set(REMINDER_RESOURCES ${PROJECT_SOURCE_DIR}/src/win32/resources/Reminder.rc)
set(RESOURCE_DIR ${PROJECT_SOURCE_DIR}/src/win32/resources)
set_source_files_properties(${REMINDER_RESOURCES} PROPERTIES OBJECT_DEPENDS
  "${RESOURCE_DIR}/ReminderRes.h;${RESOURCE_DIR}/Hand.cur;${RESOURCE_DIR}/MainIcon.ico;${PROJECT_BINARY_DIR}/generated/Version.h")

# The manifest carries the project's version; the resource compiler finds it among the
# generated files.
configure_file(src/win32/programs/Reminder.exe.manifest.in
               ${PROJECT_BINARY_DIR}/generated/Reminder.exe.manifest @ONLY)
add_executable(Reminder WIN32 src/win32/programs/ReminderExe.cpp src/win32/programs/ModuleEntry.cpp
                        src/win32/programs/ReminderExe.rc ${REMINDER_RESOURCES})
set_source_files_properties(src/win32/programs/ReminderExe.rc PROPERTIES OBJECT_DEPENDS
                            "${PROJECT_BINARY_DIR}/generated/Reminder.exe.manifest")
reminder_target(Reminder)
target_link_libraries(Reminder PRIVATE reminder_shell)

# The module: plain export names from the .def file, no runtime DLLs.
add_library(ReminderDll SHARED src/win32/programs/ReminderDll.cpp
                               src/win32/programs/ModuleEntry.cpp
                               src/win32/programs/ReminderDll.def ${REMINDER_RESOURCES})
reminder_target(ReminderDll)
target_link_libraries(ReminderDll PRIVATE reminder_shell)
set_target_properties(ReminderDll PROPERTIES OUTPUT_NAME Reminder PREFIX "")

# The sample host loads Reminder.dll at run time, as every host does.
add_executable(ReminderHost WIN32 src/win32/programs/ReminderHost.cpp)
reminder_target(ReminderHost)

add_executable(reminderctl src/tools/reminderctl/main.cpp src/win32/store/Win32DataFile.cpp
                           src/win32/net/WinHttpClient.cpp)
reminder_target(reminderctl)
target_link_libraries(reminderctl PRIVATE reminder_core winhttp)

# The remote access stand-in the tests place beside their program, so that it is found
# before the system's library.
add_library(FakeRasApi SHARED tests/win32/fake_rasapi32/FakeRasApi.cpp
                              tests/win32/fake_rasapi32/FakeRasApi.def)
reminder_target(FakeRasApi)
set_target_properties(FakeRasApi PROPERTIES OUTPUT_NAME RASAPI32 PREFIX ""
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fakeras)
add_library(FakeRnaph SHARED tests/win32/fake_rasapi32/FakeRnaph.cpp
                             tests/win32/fake_rasapi32/FakeRnaph.def)
reminder_target(FakeRnaph)
set_target_properties(FakeRnaph PROPERTIES OUTPUT_NAME RNAPH PREFIX ""
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fakeras)

file(GLOB WIN32_TEST_SUPPORT CONFIGURE_DEPENDS tests/win32/support/*.cpp)
add_library(win32_test_support STATIC ${WIN32_TEST_SUPPORT})
reminder_target(win32_test_support)
target_include_directories(win32_test_support PUBLIC ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(win32_test_support PUBLIC reminder_shell gtest)

file(GLOB WIN32_TEST_SOURCES CONFIGURE_DEPENDS tests/win32/*.cpp)
add_executable(win32_tests ${WIN32_TEST_SOURCES} ${REMINDER_RESOURCES})
reminder_target(win32_tests)
target_link_libraries(win32_tests PRIVATE win32_test_support gtest_main)

file(GLOB FAKERAS_TEST_SOURCES CONFIGURE_DEPENDS tests/win32/fakeras/*.cpp)
add_executable(fakeras_tests ${FAKERAS_TEST_SOURCES})
reminder_target(fakeras_tests)
target_link_libraries(fakeras_tests PRIVATE win32_test_support gtest_main)
set_target_properties(fakeras_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fakeras)
add_dependencies(fakeras_tests FakeRasApi FakeRnaph)

set(WINE_TEST_ENVIRONMENT
    "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix"
    "WINEDEBUG=-all"
    "LANG=de_DE.UTF-8"
    "LC_ALL=de_DE.UTF-8")
reminder_gtest(win32_tests)
reminder_gtest(fakeras_tests)
set_tests_properties(win32_tests PROPERTIES
                     ENVIRONMENT "${WINE_TEST_ENVIRONMENT};WINEDLLOVERRIDES=mscoree,mshtml=")
# Wine prefers its own library over one beside the program unless told otherwise.
set_tests_properties(fakeras_tests PROPERTIES
                     ENVIRONMENT "${WINE_TEST_ENVIRONMENT};WINEDLLOVERRIDES=mscoree,mshtml=\\;rasapi32,rnaph=n,b")

# The windows' layout checks once more at 150 % scaling, in a prefix of their own.
set(LAYOUT_TESTS "MainWindowTest.ShowsThePrepared*:AddNotifyEventDlgTest.EveryPage*"
    ":RemindFormTest.EveryAction*:CalendarWndTest.ShowsItsTexts*:CfgDlgTest.CancelWritesNothing"
    ":AboutDlgTest.TabsSwitch*")
string(REPLACE ";" "" LAYOUT_TESTS "${LAYOUT_TESTS}")
add_test(NAME win32_tests_144dpi
         COMMAND bash ${PROJECT_SOURCE_DIR}/tests/win32/at-dpi.sh 144 $<TARGET_FILE:win32_tests>
                 --gtest_filter=${LAYOUT_TESTS} --gtest_output=xml:test-results/win32_tests_144dpi.xml
         WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(win32_tests_144dpi PROPERTIES ENVIRONMENT
  "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix-144;WINEDEBUG=-all;LANG=de_DE.UTF-8;LC_ALL=de_DE.UTF-8;WINEDLLOVERRIDES=mscoree,mshtml=")

# End to end: runs the built programs and loads Reminder.dll as a host does.
file(GLOB HOST_TEST_SOURCES CONFIGURE_DEPENDS tests/win32/host/*.cpp)
add_executable(host_tests ${HOST_TEST_SOURCES})
reminder_target(host_tests)
target_link_libraries(host_tests PRIVATE win32_test_support gtest_main)
add_dependencies(host_tests Reminder ReminderDll ReminderHost)
reminder_gtest(host_tests)
set_tests_properties(host_tests PROPERTIES
                     ENVIRONMENT "${WINE_TEST_ENVIRONMENT};WINEDLLOVERRIDES=mscoree,mshtml=")

# The monkey: drives the module as its host for REMINDER_STRESS_SECONDS (60 by default).
# Its own directory, since the module keeps "Reminder.dat" beside the host program.
file(GLOB STRESS_TEST_SOURCES CONFIGURE_DEPENDS tests/win32/stress/*.cpp)
add_executable(stress_tests ${STRESS_TEST_SOURCES} tests/win32/host/ProcessDriver.cpp)
reminder_target(stress_tests)
target_link_libraries(stress_tests PRIVATE win32_test_support gtest_main)
set_target_properties(stress_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/stress)
add_dependencies(stress_tests ReminderDll)
reminder_gtest(stress_tests)
set_tests_properties(stress_tests PROPERTIES TIMEOUT 300
                     ENVIRONMENT "${WINE_TEST_ENVIRONMENT};WINEDLLOVERRIDES=mscoree,mshtml=")

# Speed of the main window under Wine; built here, run by hand (see docs/benchmarks.md).
file(GLOB WIN32_BENCH_SOURCES CONFIGURE_DEPENDS bench/win32/*.cpp)
if(WIN32_BENCH_SOURCES)
  add_executable(main_window_bench ${WIN32_BENCH_SOURCES})
  reminder_target(main_window_bench)
  target_link_libraries(main_window_bench PRIVATE reminder_shell)
  add_dependencies(main_window_bench ReminderDll)
endif()
