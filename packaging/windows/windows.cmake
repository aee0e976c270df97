# The Windows build of torami (included by CMakeLists.txt when cross-compiling):
# torami.exe as a window program with its icon, manifest and version; the IPA fonts in
# fonts/ beside the build's programs (torami.exe and the tests find them there, as the
# player finds them beside itself); and build-windows/torami-windows.zip, the folder a
# player unzips into a game folder.
set_target_properties(torami PROPERTIES WIN32_EXECUTABLE ON)
configure_file(${CMAKE_CURRENT_LIST_DIR}/torami.exe.manifest.in ${CMAKE_BINARY_DIR}/torami.exe.manifest @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/torami.rc.in ${CMAKE_BINARY_DIR}/torami.rc @ONLY)
target_sources(torami PRIVATE ${CMAKE_BINARY_DIR}/torami.rc)
set_property(SOURCE ${CMAKE_BINARY_DIR}/torami.rc APPEND PROPERTY OBJECT_DEPENDS
  ${CMAKE_CURRENT_LIST_DIR}/torami.ico ${CMAKE_BINARY_DIR}/torami.exe.manifest)

set(TORAMI_IPA_GOTHIC /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf)
set(TORAMI_IPA_MINCHO /usr/share/fonts/opentype/ipafont-mincho/ipam.ttf)
foreach(font ${TORAMI_IPA_GOTHIC} ${TORAMI_IPA_MINCHO})
  if(NOT EXISTS ${font})
    message(FATAL_ERROR "${font} is missing: run scripts/install-deps")
  endif()
  get_filename_component(name ${font} NAME)
  configure_file(${font} ${CMAKE_BINARY_DIR}/fonts/${name} COPYONLY)
endforeach()

if(NOT TORAMI_DEPS_PREFIX)
  message(FATAL_ERROR "configure with the toolchain file that scripts/port-deps windows writes")
endif()
set(TORAMI_ZIP ${CMAKE_BINARY_DIR}/torami-windows.zip)
file(GLOB TORAMI_DEMO_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/demo/*)
add_custom_command(
  OUTPUT ${TORAMI_ZIP}
  COMMAND ${CMAKE_COMMAND} -DEXE=$<TARGET_FILE:torami> -DSTRIP=${CMAKE_STRIP}
          -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DDEPS_PREFIX=${TORAMI_DEPS_PREFIX}
          -DFONTS=${TORAMI_IPA_GOTHIC}$<SEMICOLON>${TORAMI_IPA_MINCHO}
          -DSTAGE=${CMAKE_BINARY_DIR}/package -DOUT=${TORAMI_ZIP}
          -P ${CMAKE_CURRENT_LIST_DIR}/make_zip.cmake
  DEPENDS torami ${CMAKE_CURRENT_LIST_DIR}/make_zip.cmake ${CMAKE_CURRENT_LIST_DIR}/torami.txt
          ${TORAMI_DEMO_FILES}
  COMMENT "Packing torami-windows.zip"
  VERBATIM)
add_custom_target(windows_zip ALL DEPENDS ${TORAMI_ZIP})
