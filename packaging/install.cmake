# What an install puts on a Linux system, and so what the Debian package holds: the
# program, the demo story, the icon in the desktop's icon theme, the desktop entry with
# the file types of scripts and story files, the manual page, the copyright file and the
# changelog.
include(GNUInstallDirs)
install(TARGETS torami RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/demo/ DESTINATION ${CMAKE_INSTALL_DATADIR}/torami/demo)
configure_file(${CMAKE_CURRENT_LIST_DIR}/torami.desktop.in ${CMAKE_BINARY_DIR}/torami.desktop @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/torami.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/torami-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME torami.xml)

# The icon is drawn at 32 x 32; the larger sizes show its pixels as squares, and its
# magenta becomes transparent as in the window's icon.
add_executable(scale_icon ${CMAKE_SOURCE_DIR}/tools/scale_icon.cpp)
target_link_libraries(scale_icon PRIVATE torami_formats)
set(TORAMI_INSTALLED_FILES)
foreach(size 32 64 128 256)
  math(EXPR factor "${size} / 32")
  set(folder ${CMAKE_BINARY_DIR}/icons/${size}x${size})
  add_custom_command(OUTPUT ${folder}/torami.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND scale_icon ${CMAKE_SOURCE_DIR}/assets/icon.png ${factor} ${folder}/torami.png
    DEPENDS scale_icon ${CMAKE_SOURCE_DIR}/assets/icon.png
    COMMENT "Drawing the ${size} x ${size} icon"
    VERBATIM)
  list(APPEND TORAMI_INSTALLED_FILES ${folder}/torami.png)
  install(FILES ${folder}/torami.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# The manual page and the changelog are compressed without a name or time inside, so
# that every build writes the same bytes.
find_program(TORAMI_GZIP gzip REQUIRED)
configure_file(${CMAKE_CURRENT_LIST_DIR}/torami.1.in ${CMAKE_BINARY_DIR}/man/torami.1 @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog ${CMAKE_BINARY_DIR}/doc/changelog COPYONLY)
foreach(file man/torami.1 doc/changelog)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${file}.gz
    COMMAND ${TORAMI_GZIP} -9 -n -k -f ${CMAKE_BINARY_DIR}/${file}
    DEPENDS ${CMAKE_BINARY_DIR}/${file}
    VERBATIM)
  list(APPEND TORAMI_INSTALLED_FILES ${CMAKE_BINARY_DIR}/${file}.gz)
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/man/torami.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${CMAKE_BINARY_DIR}/doc/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
add_custom_target(torami_installed_files ALL DEPENDS ${TORAMI_INSTALLED_FILES})

include(${CMAKE_CURRENT_LIST_DIR}/deb.cmake)
