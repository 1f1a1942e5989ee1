# The Windows build's tests, run under Wine. One wine server, with the
# prefix booted, lives for the whole run, its output detached: otherwise
# every test waits about 3 s for Wine's helpers, and helpers that a test
# started would hold its output open. TAVRO_WINE: the toolchain's Wine
# environment.
add_test(NAME WineServerStart
  COMMAND ${TAVRO_WINE} sh -c
          "wineserver -k; wineserver -w; exec </dev/null >/dev/null 2>&1; wineserver -p; /usr/lib/wine/wine64 wineboot")
add_test(NAME WineServerStop COMMAND ${TAVRO_WINE} wineserver -k)
set_tests_properties(WineServerStart PROPERTIES FIXTURES_SETUP Wine)
set_tests_properties(WineServerStop PROPERTIES FIXTURES_CLEANUP Wine)

gtest_discover_tests(tavro_tests DISCOVERY_TIMEOUT 60 DISCOVERY_MODE PRE_TEST
  PROPERTIES FIXTURES_REQUIRED Wine)

# The program itself: scripted sessions, and file names, wildcards and /?,
# byte for byte against the Linux build (skipped without one); keys typed
# into Wine's console.
set(TAVRO_REFERENCE ${CMAKE_SOURCE_DIR}/build/release/tavro CACHE FILEPATH
    "The Linux program whose output tavro.exe must match")
add_test(NAME ScriptedSessions
  COMMAND ${TAVRO_WINE} bash ${CMAKE_SOURCE_DIR}/terminal/windows_sessions_test.sh
          ${TAVRO_REFERENCE} $<TARGET_FILE:tavro>)
add_test(NAME WindowsFiles
  COMMAND ${TAVRO_WINE} bash ${CMAKE_SOURCE_DIR}/terminal/windows_files_test.sh
          ${TAVRO_REFERENCE} $<TARGET_FILE:tavro>)
add_test(NAME WindowsConsole
  COMMAND ${TAVRO_WINE} bash ${CMAKE_SOURCE_DIR}/terminal/windows_console_test.sh
          $<TARGET_FILE:tavro>)
set_tests_properties(ScriptedSessions WindowsFiles WindowsConsole PROPERTIES
  FIXTURES_REQUIRED Wine SKIP_RETURN_CODE 77 TIMEOUT 120)
