# The tests of the Windows build, run from Linux under Wine (make test-windows):
#  - torami_tests.exe, the unit and scenario tests, in a few Wine processes: starting
#    one takes about a second, so one process per test case would take minutes;
#  - the three demo play-throughs with torami.exe --headless from the unpacked zip,
#    whose traces must be byte for byte the Linux build's (tests/windows/demo_traces.sh);
#  - the window under Wine and Xvfb, driven by a program of the Linux build
#    (tests/windows/wine_window_test.cpp).
# The last two need the Linux build: TORAMI_LINUX_BUILD names its folder.
set(TORAMI_LINUX_BUILD ${CMAKE_SOURCE_DIR}/build CACHE PATH "the Linux build the Windows tests compare with")
set(TORAMI_WINE_RUN ${CMAKE_SOURCE_DIR}/tests/windows/wine-run)
set_property(TARGET torami_tests PROPERTY CROSSCOMPILING_EMULATOR ${TORAMI_WINE_RUN})

# The explorer's walk of the whole demo is left to the Linux build: the same logic on both
# systems, and ten times as slow under Wine (two and a half minutes).
# Two more are Linux's own: the message about a snapshot folder that is not there names
# the path in Linux's spelling, and the picture cache test changes a file's time by less
# than Wine's file times tell apart.
set(TORAMI_WINE_SKIPPED "Explorer.TheDemoHasThreeEndingsAndTheirInputFilesReachThem:Recorder.FailuresEndTheRunWhenAsked:PictureCache.DecodesAFileOnceWhileItIsUnchanged")
set(TORAMI_TEST_SHARDS 2)
math(EXPR last "${TORAMI_TEST_SHARDS} - 1")
foreach(i RANGE ${last})
  add_test(NAME torami_tests_shard${i}
    COMMAND torami_tests --gtest_brief=1 --gtest_filter=-${TORAMI_WINE_SKIPPED})
  set_tests_properties(torami_tests_shard${i} PROPERTIES TIMEOUT 900
    ENVIRONMENT "GTEST_TOTAL_SHARDS=${TORAMI_TEST_SHARDS};GTEST_SHARD_INDEX=${i}")
endforeach()

add_test(NAME demo_traces_under_wine
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/windows/demo_traces.sh ${TORAMI_ZIP}
          ${TORAMI_LINUX_BUILD}/torami ${CMAKE_SOURCE_DIR})
set_tests_properties(demo_traces_under_wine PROPERTIES TIMEOUT 600)

add_test(NAME window_under_wine COMMAND ${TORAMI_LINUX_BUILD}/torami_wine_window_test)
set_tests_properties(window_under_wine PROPERTIES TIMEOUT 300
  ENVIRONMENT "TORAMI_WINDOWS_EXE=$<TARGET_FILE:torami>;TORAMI_WINE_RUN=${TORAMI_WINE_RUN};TORAMI_WINE_PREFIX=wine-window;TORAMI_WINE_NEW_SERVER=1;TORAMI_WINDOW_SHOTS=${CMAKE_BINARY_DIR}/window-under-wine")
