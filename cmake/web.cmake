# The browser build (Emscripten): what differs from the Linux build. Included by
# CMakeLists.txt when the toolchain is Emscripten's (scripts/port-deps writes one).
#
# build-web/ then holds the page: index.html, torami.js + torami.wasm (the player),
# torami.data (the demo game and the fonts, preloaded into the program's file system)
# and freepats/ (the General MIDI patches, fetched one instrument at a time as pieces
# need them).

# Code page 932 tables from the build machine's iconv, through a host program.
find_program(TORAMI_HOST_CXX NAMES c++ g++ clang++ NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(TORAMI_CP932_TABLE ${CMAKE_BINARY_DIR}/generated/cp932_table.inc)
add_custom_command(
  OUTPUT ${TORAMI_CP932_TABLE}
  COMMAND ${TORAMI_HOST_CXX} -std=c++20 -O1 ${CMAKE_SOURCE_DIR}/tools/cp932_table.cpp
          -o ${CMAKE_BINARY_DIR}/generated/cp932_table
  COMMAND ${CMAKE_BINARY_DIR}/generated/cp932_table > ${TORAMI_CP932_TABLE}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/cp932_table.cpp
  COMMENT "Code page 932 tables from the host's iconv")
list(APPEND PORT_SOURCES ${TORAMI_CP932_TABLE})

set(TORAMI_FONT_DIRS /usr/share/fonts/opentype/ipafont-gothic /usr/share/fonts/opentype/ipafont-mincho)
set(TORAMI_FREEPATS /usr/share/midi/freepats)
set(TORAMI_FREEPATS_CFG /etc/timidity/freepats.cfg)
set(TORAMI_PAGE_DIR ${CMAKE_SOURCE_DIR}/src/platform/web/page)

function(torami_web_core target)
  # The engine ends runs with exceptions; Emscripten leaves catching them off by default.
  target_compile_options(${target} PUBLIC -fexceptions)
  target_link_options(${target} PUBLIC -fexceptions)
  target_include_directories(${target} PRIVATE ${CMAKE_BINARY_DIR}/generated)
endfunction()

function(torami_web_page target)
  # The patch set: Debian's freepats, served as it is installed; its configuration names
  # the folder the player fetches the patches into.
  if(EXISTS ${TORAMI_FREEPATS_CFG})
    file(READ ${TORAMI_FREEPATS_CFG} cfg)
    string(REGEX REPLACE "(^|\n)dir [^\n]*" "\\1dir /freepats" cfg "${cfg}")
    file(WRITE ${CMAKE_BINARY_DIR}/freepats/timidity.cfg "${cfg}")
    foreach(d Tone_000 Drum_000)
      file(CREATE_LINK ${TORAMI_FREEPATS}/${d} ${CMAKE_BINARY_DIR}/freepats/${d} SYMBOLIC)
    endforeach()
  else()
    message(WARNING "no ${TORAMI_FREEPATS_CFG} (scripts/install-deps --web installs freepats): the page plays no music")
  endif()
  # Fonts: the demo's page carries the IPA faces cut down to the characters the demo's
  # script uses and the common Japanese and Latin ranges (about 230 KB each instead of
  # 6 and 8 MB); the whole faces are served beside the page (fonts/) and fetched when the
  # player opens a game of their own. Without pyftsubset the page carries the whole faces.
  # (A folder of its own for the cut faces: an earlier build may have left links to the
  # system's fonts where they go, and nothing may ever write through those.)
  set(fonts ${CMAKE_BINARY_DIR}/page-files/demo-fonts)
  file(MAKE_DIRECTORY ${fonts} ${CMAKE_BINARY_DIR}/fonts)
  # The subsetter is the pyftsubset command (Debian's fonttools) or, where only the module
  # is installed (python3-fonttools), the module run by Python.
  find_program(TORAMI_PYFTSUBSET pyftsubset NO_CMAKE_FIND_ROOT_PATH)
  if(NOT TORAMI_PYFTSUBSET)
    find_program(TORAMI_PYTHON3 python3 NO_CMAKE_FIND_ROOT_PATH)
    if(TORAMI_PYTHON3)
      execute_process(COMMAND ${TORAMI_PYTHON3} -c "import fontTools.subset"
                      RESULT_VARIABLE no_module OUTPUT_QUIET ERROR_QUIET)
      if(NOT no_module)
        set(TORAMI_PYFTSUBSET ${TORAMI_PYTHON3} -m fontTools.subset)
      endif()
    endif()
  endif()
  if(NOT TORAMI_PYFTSUBSET)
    message(WARNING "no pyftsubset (scripts/install-deps --web installs fonttools): the demo's page carries the whole IPA faces")
  endif()
  set(font_outputs)
  foreach(f ipafont-gothic/ipag.ttf ipafont-mincho/ipam.ttf)
    get_filename_component(name ${f} NAME)
    file(CREATE_LINK /usr/share/fonts/opentype/${f} ${CMAKE_BINARY_DIR}/fonts/${name} SYMBOLIC)
    if(TORAMI_PYFTSUBSET)
      add_custom_command(
        OUTPUT ${fonts}/${name}
        COMMAND ${CMAKE_COMMAND} -E rm -f ${fonts}/${name}
        COMMAND iconv -f CP932 -t UTF-8 ${CMAKE_SOURCE_DIR}/demo/TORAMI.acs > ${fonts}/${name}.txt
        COMMAND ${TORAMI_PYFTSUBSET} /usr/share/fonts/opentype/${f} --text-file=${fonts}/${name}.txt
                "--unicodes=U+0020-007E,U+00A0-00FF,U+2010-203B,U+2190-2193,U+2200-22FF,U+2460-2473,U+25A0-266F,U+3000-30FF,U+FF01-FF9F,U+FFE0-FFE5"
                --output-file=${fonts}/${name} --layout-features=* --name-IDs=* --name-languages=*
                --notdef-outline --glyph-names
        DEPENDS ${CMAKE_SOURCE_DIR}/demo/TORAMI.acs
        COMMENT "Cutting ${name} down to the demo's characters")
      list(APPEND font_outputs ${fonts}/${name})
    else()
      file(CREATE_LINK /usr/share/fonts/opentype/${f} ${fonts}/${name} SYMBOLIC)
    endif()
  endforeach()
  if(font_outputs)
    add_custom_target(torami_fonts DEPENDS ${font_outputs})
    add_dependencies(${target} torami_fonts)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${font_outputs})
  endif()
  set_target_properties(${target} PROPERTIES SUFFIX ".js")
  target_link_options(${target} PRIVATE
    # The player's waits are nested inside the interpreter: they yield to the page's
    # event loop through emscripten_sleep (SDL_Delay), which ASYNCIFY makes possible.
    -sASYNCIFY -sASYNCIFY_STACK_SIZE=131072
    -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=64MB
    -sEXIT_RUNTIME=1 -sFORCE_FILESYSTEM=1 -lidbfs.js
    "-sEXPORTED_RUNTIME_METHODS=FS,ENV,IDBFS,callMain,addRunDependency,removeRunDependency"
    "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/demo@/demo"
    "SHELL:--preload-file ${fonts}/ipag.ttf@/fonts/ipag.ttf"
    "SHELL:--preload-file ${fonts}/ipam.ttf@/fonts/ipam.ttf")
  if(EXISTS ${CMAKE_BINARY_DIR}/freepats/timidity.cfg)
    target_link_options(${target} PRIVATE
      "SHELL:--preload-file ${CMAKE_BINARY_DIR}/freepats/timidity.cfg@/freepats/timidity.cfg")
  endif()
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/demo/TORAMI.acs)
  # The page itself, and the patch set served beside it.
  file(GLOB page_files CONFIGURE_DEPENDS ${TORAMI_PAGE_DIR}/*)
  add_custom_target(torami_page
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${page_files} ${CMAKE_SOURCE_DIR}/assets/icon.png
            ${CMAKE_BINARY_DIR}/
    COMMENT "Copying the page")
  add_dependencies(${target} torami_page)
endfunction()

# The engine's own unit and scenario tests, built for the browser's runtime and run under
# node (headless: no window, no page), reading the host's files directly. Left out: the
# tests that start the program's executable or open an audio device.
function(torami_web_tests)
  find_package(GTest REQUIRED CONFIG)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp
       ${CMAKE_SOURCE_DIR}/tests/scenario/*.cpp ${CMAKE_SOURCE_DIR}/tests/support/scenario.cpp
       ${CMAKE_SOURCE_DIR}/tests/support/json.cpp)
  list(FILTER sources EXCLUDE REGEX "/(sdl_mixer_audio_test|saves_test)\\.cpp$")
  add_executable(torami_node_tests ${sources})
  target_link_libraries(torami_node_tests PRIVATE torami_core GTest::gtest_main)
  target_include_directories(torami_node_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_BINARY_DIR}/generated)
  target_compile_definitions(torami_node_tests PRIVATE TORAMI_SOURCE_DIR="${CMAKE_SOURCE_DIR}" TORAMI_BINARY="")
  target_link_options(torami_node_tests PRIVATE -sNODERAWFS=1 -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1
    -sASYNCIFY -sASYNCIFY_STACK_SIZE=131072)
  enable_testing()
  add_test(NAME NodeTests COMMAND torami_node_tests)  # under the toolchain's emulator (node)
  set_tests_properties(NodeTests PROPERTIES TIMEOUT 900)
endfunction()
