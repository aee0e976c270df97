# The folders of src/ as layers: each folder is a static library that links only the
# folders it names (and, through them, the ones below), and a check run with every build
# fails when a file includes a header of a folder it does not name.
#
#   torami_layer(NAME [USES FOLDER...] [EXTRA SOURCE...])   src/NAME/*.cpp and EXTRA
#   torami_layer_check()                                    after the last layer

set(TORAMI_LAYERS "" CACHE INTERNAL "")

function(torami_layer name)
  cmake_parse_arguments(L "" "" "USES;EXTRA" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${name}/*.cpp)
  file(GLOB_RECURSE nested CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${name}/*/*.cpp)
  # The systems' folders of platform/ come in through EXTRA, each on its own system.
  if(NOT name STREQUAL "platform")
    list(APPEND sources ${nested})
  endif()
  add_library(torami_${name} STATIC ${sources} ${L_EXTRA})
  target_include_directories(torami_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  foreach(below ${L_USES})
    target_link_libraries(torami_${name} PUBLIC torami_${below})
  endforeach()
  set(TORAMI_LAYERS ${TORAMI_LAYERS} ${name} CACHE INTERNAL "")
  set(TORAMI_LAYER_${name} ${name} ${L_USES} CACHE INTERNAL "")
endfunction()

function(torami_layer_check)
  set(args)
  set(watched)
  foreach(name ${TORAMI_LAYERS})
    list(JOIN TORAMI_LAYER_${name} "," allowed)
    list(APPEND args "-DLAYER_${name}=${allowed}")
    file(GLOB_RECURSE files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${name}/*.h
         ${CMAKE_SOURCE_DIR}/src/${name}/*.cpp)
    list(APPEND watched ${files})
  endforeach()
  list(JOIN TORAMI_LAYERS "," layers)
  set(stamp ${CMAKE_BINARY_DIR}/layers.checked)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DSRC=${CMAKE_SOURCE_DIR}/src "-DLAYERS=${layers}" ${args}
            -P ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${watched} ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake
    COMMENT "Checking that no folder includes from a folder above it")
  add_custom_target(torami_layer_check DEPENDS ${stamp})
  foreach(name ${TORAMI_LAYERS})
    add_dependencies(torami_${name} torami_layer_check)
  endforeach()
endfunction()
