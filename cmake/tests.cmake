# Unit tests: everything under tests/ that is a .cpp, one executable, linked
# with the simulated desktop (tests/support/, a test double of the platform
# seam that the program itself never links). tests/platform/win32_*.cpp
# exercise the Win32 side of the seam and exist in the Windows build only.
if(RC_WINDOWS)
  # GoogleTest built for the target from its sources (Debian's googletest
  # package puts them in /usr/src/googletest), or an installed one.
  set(RC_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH
      "GoogleTest sources to build for the Windows target")
  if(EXISTS ${RC_GTEST_SOURCE_DIR}/CMakeLists.txt)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${RC_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    set(RC_GTEST_LIBRARIES gtest gmock gtest_main)
  else()
    find_package(GTest REQUIRED)
    set(RC_GTEST_LIBRARIES GTest::gtest GTest::gmock GTest::gtest_main)
  endif()
else()
  find_package(GTest REQUIRED)
  set(RC_GTEST_LIBRARIES GTest::gtest GTest::gmock GTest::gtest_main)
endif()
include(GoogleTest)

# The simulated desktop: tests/support/ but its own tests. It sees the seam
# only (platform/platform.h and platform/win_defs.h), not the core.
file(GLOB RC_SIM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
list(FILTER RC_SIM_SOURCES EXCLUDE REGEX "_test\\.cpp$")
add_library(rc_sim STATIC ${RC_SIM_SOURCES})
target_include_directories(rc_sim PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)

file(GLOB_RECURSE RC_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*.cpp)
list(REMOVE_ITEM RC_TEST_SOURCES ${RC_SIM_SOURCES})
if(NOT RC_WINDOWS)
  list(FILTER RC_TEST_SOURCES EXCLUDE REGEX "/tests/platform/win32_[^/]*\\.cpp$")
endif()

if(NOT RC_WINDOWS)
  add_executable(rc_tests ${RC_TEST_SOURCES})
  target_include_directories(rc_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(rc_tests PRIVATE rc_core rc_sim ${RC_GTEST_LIBRARIES})
  gtest_discover_tests(rc_tests DISCOVERY_MODE PRE_TEST)
  return()
endif()

# The resources go in too: the Win32 tests load them from the test program.
add_executable(rc_tests ${RC_TEST_SOURCES} ${RC_RESOURCES})
target_include_directories(rc_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/resources
                           ${RC_GENERATED})
# version: the tests read the version information as Explorer does.
target_link_libraries(rc_tests PRIVATE rc_core rc_sim rc_win32 version ${RC_GTEST_LIBRARIES})

if(NOT CMAKE_CROSSCOMPILING)
  # Built on Windows itself: the tests run as they are.
  gtest_discover_tests(rc_tests DISCOVERY_MODE PRE_TEST)
  return()
endif()

# Cross-built: the tests run under Wine. The whole test program runs as one
# process (a Wine start per test would cost seconds each). The fixture
# prepares the Wine prefix, starts a private virtual display and Wine's own
# processes, detached from ctest's output; the cleanup stops them.
set(RC_WINE_SCRIPT ${CMAKE_SOURCE_DIR}/tests/wine/wine_prefix.sh)
set(RC_WINE_ENV ${CMAKE_BINARY_DIR}/wine_env.sh)
set_property(TARGET rc_tests PROPERTY CROSSCOMPILING_EMULATOR
             ${CMAKE_SOURCE_DIR}/tests/wine/run_in_wine.sh ${RC_WINE_ENV} tests)
add_test(NAME wine_prefix_start COMMAND bash ${RC_WINE_SCRIPT} ${RC_WINE_ENV} start tests)
add_test(NAME wine_prefix_stop COMMAND bash ${RC_WINE_SCRIPT} ${RC_WINE_ENV} stop tests)
set_tests_properties(wine_prefix_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
set_tests_properties(wine_prefix_stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)

add_test(NAME windows_unit_tests COMMAND rc_tests --gtest_brief=1)
set_tests_properties(windows_unit_tests PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600)

# The program needs no DLL beyond the system's.
add_test(NAME system_dlls_only
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/wine/system_dlls.sh ${CMAKE_OBJDUMP}
                 $<TARGET_FILE:RemoteControl>)

# The real program under Wine, in a fresh prefix of its own.
add_test(NAME wine_smoke
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/wine/smoke_test.sh ${RC_WINE_ENV}
                 $<TARGET_FILE:RemoteControl> $<TARGET_FILE:wintool>)
set_tests_properties(wine_smoke PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600 RUN_SERIAL TRUE)
