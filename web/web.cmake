# The browser build: the program as WebAssembly inside one HTML file with
# xterm.js, d3 and the page's scripts (tavro.html in the build folder), and
# the page's tests in headless Chromium and Firefox and in WebKit, compared
# with a native build of the same sources. Included by the top CMakeLists.txt under Emscripten.

find_program(NODE node REQUIRED)
find_program(NPM npm REQUIRED)
set(TAVRO_WEB ${CMAKE_CURRENT_LIST_DIR})

# xterm.js, d3, the bundler and the test's browser driver, as the lockfile pins them.
if(NOT EXISTS ${TAVRO_WEB}/node_modules/.package-lock.json OR
   ${TAVRO_WEB}/package-lock.json IS_NEWER_THAN ${TAVRO_WEB}/node_modules/.package-lock.json)
  execute_process(COMMAND ${NPM} ci --no-audit --no-fund
                  WORKING_DIRECTORY ${TAVRO_WEB} COMMAND_ERROR_IS_FATAL ANY)
endif()

# Reads wait through Asyncify; each run is a new instance (MODULARIZE) whose
# main the page calls, and whose end it learns from main's promise; a second
# instance, whose main never runs, checks series of sizes. The WebAssembly
# (tavro.wasm) goes into the page as a block of its own, compiled once by
# the page and instantiated for every instance (web/boot.js); no eval, no
# file system; memory grows with a long table.
target_link_options(tavro PRIVATE
  -sASYNCIFY -sASYNCIFY_IGNORE_INDIRECT -sASYNCIFY_ADD=@${PROJECT_BINARY_DIR}/asyncify_add.txt
  --emit-symbol-map -sMODULARIZE -sEXPORT_NAME=createTavro -sINVOKE_RUN=0
  -sEXPORTED_FUNCTIONS=_main,_tavroSeriesRead,_tavroSeriesCheck,_tavroFileText,_tavroCaseFile,_tavroNamedCase,_tavroSizeLink,_tavroExampleSeries
  -sEXPORTED_RUNTIME_METHODS=ccall -sENVIRONMENT=web
  -sFILESYSTEM=0 -sDYNAMIC_EXECUTION=0 -sINITIAL_MEMORY=4MB -sALLOW_MEMORY_GROWTH=1
  -sTOTAL_STACK=256KB)

# Asyncify instruments only the functions a wait can unwind through
# (web/asyncify_add.txt; emcc reads one name a line, so without the comments
# and blank lines, and read as text, not a CMake list, which brackets in a
# name would upset); the symbol map (tavro.js.symbols) names the functions of
# tavro.wasm for the test AsyncifyList, which checks that list against the
# program as linked.
file(READ ${TAVRO_WEB}/asyncify_add.txt TAVRO_ASYNCIFY_ADD)
string(REGEX REPLACE "#[^\n]*" "" TAVRO_ASYNCIFY_ADD "${TAVRO_ASYNCIFY_ADD}")
string(REGEX REPLACE "\n\n+" "\n" TAVRO_ASYNCIFY_ADD "${TAVRO_ASYNCIFY_ADD}")
string(STRIP "${TAVRO_ASYNCIFY_ADD}" TAVRO_ASYNCIFY_ADD)
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/asyncify_add.txt CONTENT "${TAVRO_ASYNCIFY_ADD}\n" @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TAVRO_WEB}/asyncify_add.txt)
set_property(TARGET tavro APPEND PROPERTY LINK_DEPENDS ${PROJECT_BINARY_DIR}/asyncify_add.txt)

# Smallest code: link-time optimisation lets the linker drop what the page
# never reaches, and Asyncify then instruments less.
target_compile_options(tavro_core PRIVATE -Oz -flto)
target_compile_options(tavro PRIVATE -Oz -flto)
target_link_options(tavro PRIVATE -flto)

# Debian's emcc runs acorn, which this Node finds only through NODE_PATH;
# the preset sets it for configure and build, this for any later build.
set_property(TARGET tavro PROPERTY RULE_LAUNCH_LINK
             "${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs")

# The parts of d3 the chart uses, as one script defining the global d3.
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/d3.js
  COMMAND ${TAVRO_WEB}/node_modules/.bin/esbuild ${TAVRO_WEB}/chart_lib.mjs --bundle --minify
          --format=iife --global-name=d3 --log-level=warning
          --outfile=${PROJECT_BINARY_DIR}/d3.js
  DEPENDS ${TAVRO_WEB}/chart_lib.mjs ${TAVRO_WEB}/package-lock.json
  VERBATIM)

# The page's monospace font: JetBrains Mono, Latin, regular, under the SIL
# Open Font Licence 1.1.
set(TAVRO_FONT ${TAVRO_WEB}/node_modules/@fontsource/jetbrains-mono)
# What the first menu needs comes first and runs at once; the parts after
# "--" (the chart's d3, the panel and the Rechenweg, the size chooser) run
# once the first menu is on the screen.
set(TAVRO_PAGE_PARTS
  ${TAVRO_WEB}/node_modules/@xterm/xterm/css/xterm.css
  ${TAVRO_FONT}/files/jetbrains-mono-latin-400-normal.woff2
  ${TAVRO_FONT}/LICENSE
  ${PROJECT_BINARY_DIR}/tavro.wasm
  ${PROJECT_BINARY_DIR}/native/tavro
  ${TAVRO_WEB}/boot.js
  ${TAVRO_WEB}/node_modules/@xterm/xterm/lib/xterm.js
  ${TAVRO_WEB}/node_modules/@xterm/addon-fit/lib/addon-fit.js
  $<TARGET_FILE:tavro>
  ${TAVRO_WEB}/common.js
  ${TAVRO_WEB}/help.js
  ${TAVRO_WEB}/keys.js
  ${TAVRO_WEB}/terminal.js
  ${TAVRO_WEB}/bar.js
  ${TAVRO_WEB}/kept.js
  ${TAVRO_WEB}/runs.js
  ${TAVRO_WEB}/case_files.js
  ${TAVRO_WEB}/page.js
  --
  ${PROJECT_BINARY_DIR}/d3.js
  ${TAVRO_WEB}/panel.js
  ${TAVRO_WEB}/sizes.js)
# The files, for the build to know when to put the page together again; the
# WebAssembly is linked with the program's script, and the native program
# (below), whose first screen the page draws at once, is built by its own
# project.
set(TAVRO_PAGE_FILES ${TAVRO_PAGE_PARTS})
list(REMOVE_ITEM TAVRO_PAGE_FILES -- ${PROJECT_BINARY_DIR}/tavro.wasm)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/tavro.html
  COMMAND ${NODE} ${TAVRO_WEB}/assemble.mjs ${TAVRO_WEB}/tavro.html.in
          ${PROJECT_BINARY_DIR}/tavro.html ${TAVRO_PAGE_PARTS}
  DEPENDS ${TAVRO_WEB}/assemble.mjs ${TAVRO_WEB}/tavro.html.in ${TAVRO_PAGE_FILES} tavro native
  VERBATIM)
add_custom_target(page ALL DEPENDS ${PROJECT_BINARY_DIR}/tavro.html)

# The native program whose output the page must show byte for byte, and
# whose first screen it draws before its own program has started.
include(ExternalProject)
ExternalProject_Add(native
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${PROJECT_BINARY_DIR}/native
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DTAVRO_TESTS=OFF
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${PROJECT_BINARY_DIR}/native/tavro)

enable_testing()
# `node --test FILE` run by the command after FILE; with TAVRO_WEB_TESTS set
# (a regular expression), only the tests whose names match it (mutation/run.sh
# uses it).
set(TAVRO_NODE_TEST sh -c
    [=[file=$1 && shift && exec "$@" --test ${TAVRO_WEB_TESTS:+"--test-name-pattern=$TAVRO_WEB_TESTS"} "$file"]=] sh)
add_test(NAME Browsers COMMAND ${TAVRO_NODE_TEST} ${TAVRO_WEB}/tavro.test.mjs ${NODE})
add_test(NAME FirstScreen COMMAND ${TAVRO_NODE_TEST} ${TAVRO_WEB}/first_screen.test.mjs ${NODE})
# Not through TAVRO_NODE_TEST: a pattern meant for the browsers' tests would
# skip every test of this file, which would then pass having checked nothing.
add_test(NAME AsyncifyList COMMAND ${NODE} --test ${TAVRO_WEB}/asyncify_check.test.mjs)
set_tests_properties(AsyncifyList PROPERTIES ENVIRONMENT
  "TAVRO_WASM=${PROJECT_BINARY_DIR}/tavro.wasm;TAVRO_ASYNCIFY_ADD=${TAVRO_WEB}/asyncify_add.txt")
# WebKit's browser needs a display: a virtual one.
find_program(XVFB_RUN xvfb-run REQUIRED)
find_program(WEBKIT_DRIVER WebKitWebDriver REQUIRED)
add_test(NAME WebKit COMMAND ${TAVRO_NODE_TEST} ${TAVRO_WEB}/webkit.test.mjs ${XVFB_RUN} -a ${NODE})
set_tests_properties(Browsers FirstScreen WebKit PROPERTIES TIMEOUT 900 ENVIRONMENT
  "TAVRO_PAGE=${PROJECT_BINARY_DIR}/tavro.html;TAVRO_NATIVE=${PROJECT_BINARY_DIR}/native/tavro")
