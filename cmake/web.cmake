# The browser build (Emscripten): what differs from the Linux build. Included by
# CMakeLists.txt when the toolchain is Emscripten's (scripts/port-deps writes one).
#
# build-web/ then holds the page: index.html, torami.js + torami.wasm (the player),
# torami.data + torami-data.js (the demo game up to its title and the fonts, preloaded into
# the program's file system), game/ (the demo's other pictures and sounds, fetched after its
# title or when first read), freepats/ (the General MIDI patches, fetched one instrument at a time as
# pieces need them), the app manifest with its icons and the service worker (sw.js).

# The page's player is downloaded before it plays: it is compiled and linked (binaryen's
# passes) for size rather than speed, which the player's waits leave unnoticed.
set(CMAKE_CXX_FLAGS_RELEASE "-Oz -DNDEBUG")
set(CMAKE_C_FLAGS_RELEASE "-Oz -DNDEBUG")

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
  # The demo, packed for the page (torami.data, put into the player's file system by
  # torami-data.js): its folder but the pictures and sounds that come after its title (game/),
  # and the IPA faces cut down to the characters the demo's
  # script uses and the common Japanese and Latin ranges (about 230 KB each instead of 6 and
  # 8 MB); the whole faces are served beside the page (fonts/) and fetched when the player
  # opens a game of their own. A game published as a page (scripts/web-game) is packed by
  # the same script.
  find_program(TORAMI_PYTHON3 python3 NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(TORAMI_FILE_PACKAGER ${EMSCRIPTEN_ROOT_PATH}/tools/file_packager.py CACHE FILEPATH
      "Emscripten's file packager")
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/fonts)
  foreach(f ipafont-gothic/ipag.ttf ipafont-mincho/ipam.ttf)
    get_filename_component(name ${f} NAME)
    file(CREATE_LINK /usr/share/fonts/opentype/${f} ${CMAKE_BINARY_DIR}/fonts/${name} SYMBOLIC)
  endforeach()
  file(GLOB demo_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/demo/*)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/torami.data ${CMAKE_BINARY_DIR}/torami-data.js
    COMMAND ${TORAMI_PYTHON3} ${CMAKE_SOURCE_DIR}/scripts/web-package --game ${CMAKE_SOURCE_DIR}/demo
            --mount /demo --out ${CMAKE_BINARY_DIR} --packager ${TORAMI_FILE_PACKAGER}
            --freepats-cfg ${CMAKE_BINARY_DIR}/freepats/timidity.cfg
    DEPENDS ${demo_files} ${CMAKE_SOURCE_DIR}/scripts/web-package
    COMMENT "Packing the demo and its fonts for the page")
  add_custom_target(torami_data DEPENDS ${CMAKE_BINARY_DIR}/torami.data)
  # The page's app icons, the window icon scaled by whole pixels.
  set(icons)
  foreach(size 192 512)
    add_custom_command(
      OUTPUT ${CMAKE_BINARY_DIR}/icon-${size}.png
      COMMAND ${TORAMI_PYTHON3} ${CMAKE_SOURCE_DIR}/tools/scale_png.py
              ${CMAKE_SOURCE_DIR}/assets/icon.png ${size} ${CMAKE_BINARY_DIR}/icon-${size}.png
      DEPENDS ${CMAKE_SOURCE_DIR}/assets/icon.png ${CMAKE_SOURCE_DIR}/tools/scale_png.py
      COMMENT "The page's ${size} px icon")
    list(APPEND icons ${CMAKE_BINARY_DIR}/icon-${size}.png)
  endforeach()
  # Which patches a published game's pieces need (scripts/web-game), on the build machine.
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/generated/midi_patches
    COMMAND ${TORAMI_HOST_CXX} -std=c++20 -O1 -I${CMAKE_SOURCE_DIR}/src
            ${CMAKE_SOURCE_DIR}/tools/midi_patches.cpp
            ${CMAKE_SOURCE_DIR}/src/platform/web/midi_instruments.cpp
            -o ${CMAKE_BINARY_DIR}/generated/midi_patches
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/midi_patches.cpp
            ${CMAKE_SOURCE_DIR}/src/platform/web/midi_instruments.cpp
            ${CMAKE_SOURCE_DIR}/src/platform/web/midi_instruments.h
    COMMENT "The list of a game's MIDI patches, for the build machine")
  set_target_properties(${target} PROPERTIES SUFFIX ".js")
  target_link_options(${target} PRIVATE
    # The player's waits are nested inside the interpreter: they yield to the page's
    # event loop through emscripten_sleep (SDL_Delay), which ASYNCIFY makes possible.
    -sASYNCIFY -sASYNCIFY_STACK_SIZE=131072
    # ASYNCIFY instruments every function that might be on the stack during such a wait,
    # and takes any call through a pointer to be one that may wait. These never wait: the
    # allocator (its new-handler), terminate, SDL's error and log calls, FreeType (its
    # memory and stream callbacks), SDL_image's stb_image, the C++ runtime's exception
    # support and the JSON library; left out, the player is a tenth smaller.
    "-sASYNCIFY_REMOVE=['operator.new*','std::terminate()','SDL_SetError','SDL_Log*','FT_*','ft_*','tt_*','TT_*','cff_*','af_*','ps_*','pfr_*','cid_*','sfnt_*','raccess_*','T1_*','t1_*','stbi_*','__cxa_*','nlohmann::*','void.nlohmann::*','bool.nlohmann::*']"
    -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=64MB
    -sEXIT_RUNTIME=1 -sFORCE_FILESYSTEM=1 -lidbfs.js
    "-sEXPORTED_RUNTIME_METHODS=FS,ENV,IDBFS,callMain,addRunDependency,removeRunDependency,FS_createPath,FS_createDataFile")
  # The page itself, and the patch set served beside it.
  file(GLOB page_files CONFIGURE_DEPENDS ${TORAMI_PAGE_DIR}/*)
  add_custom_target(torami_page
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${page_files} ${CMAKE_SOURCE_DIR}/assets/icon.png
            ${CMAKE_BINARY_DIR}/
    COMMENT "Copying the page")
  add_dependencies(${target} torami_page)
  # The whole page: the player, its package, the icons, and the service worker that keeps
  # them for playing offline, named after a hash of them (cmake/web_offline.cmake).
  # Then each file the page fetches first is compressed beside itself (NAME.br, NAME.gz) for
  # the server to send as it is (scripts/web-compress.js).
  find_program(TORAMI_NODE NAMES node nodejs NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(sent_first index.html page.js page.css torami.js torami.wasm torami-data.js torami.data
      sw.js manifest.webmanifest freepats/timidity.cfg game)
  add_custom_target(torami_web ALL
    COMMAND ${CMAKE_COMMAND} -DSITE=${CMAKE_BINARY_DIR}
            -DTEMPLATE=${CMAKE_SOURCE_DIR}/src/platform/web/sw.js.in
            -P ${CMAKE_SOURCE_DIR}/cmake/web_offline.cmake
    COMMAND ${TORAMI_NODE} ${CMAKE_SOURCE_DIR}/scripts/web-compress.js ${sent_first}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    DEPENDS ${icons} ${CMAKE_BINARY_DIR}/generated/midi_patches
    COMMENT "The page's service worker")
  add_dependencies(torami_web ${target} torami_data torami_page)
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
