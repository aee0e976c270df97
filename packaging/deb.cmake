# The Debian package of the install rules (make deb): cpack -G DEB in a build folder
# configured with CMAKE_INSTALL_PREFIX=/usr writes torami_VERSION_ARCH.deb and the
# path of it in deb-package.txt. Libraries the program links come in as dependencies
# through dpkg-shlibdeps; the rest of what it needs at run time is named here.
set(TORAMI_DEB_MAINTAINER "torami developers <torami@users.noreply.invalid>"
    CACHE STRING "The Maintainer field of the Debian package")

execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE TORAMI_DEB_ARCH
                OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE dpkg_failed)
if(dpkg_failed OR NOT TORAMI_DEB_ARCH)
  set(TORAMI_DEB_ARCH unknown)  # no dpkg here: cpack -G DEB would fail anyway
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME torami)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "player for ACS script games, with tools for their authors")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"torami plays ACS scripts: the plain-text, Shift-JIS script language of a
Japanese character and text-adventure title written for 32-bit Windows. It
plays such a game as it played then: the picture area with its command menu,
the typed message area, MIDI music and wave sounds, with the mouse, the keys,
a gamepad or a finger, and keeps saved games.

For authors, it checks scripts, plays every path through a story (endings,
reachable errors, lines never run), runs headless from an input file and
writes traces, and builds scripts from story files with named lines.

A short demo story comes with it.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TORAMI_DEB_MAINTAINER}")
# The player is the interpreter of a script language (and its authors' checker): its
# program lies in /usr/bin, where the games section would want /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION interpreters)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${TORAMI_DEB_ARCH})
set(CPACK_DEBIAN_FILE_NAME torami_${PROJECT_VERSION}_${TORAMI_DEB_ARCH}.deb)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The fonts stand in for the title's Japanese system fonts; music needs a General MIDI
# soundfont. The picture, sound and synthesiser libraries are opened by the program when
# first needed, so the tools cannot see them. Reading aloud loads speech-dispatcher's
# library when it is first turned on.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-ipafont-gothic, fonts-ipafont-mincho, timgm6mb-soundfont | fluid-soundfont-gm, \
libsdl2-image-2.0-0 (>= 2.6), libsdl2-mixer-2.0-0 (>= 2.6), libfluidsynth3")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "speech-dispatcher, libspeechd2")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
file(WRITE ${CMAKE_BINARY_DIR}/deb-package.txt ${CMAKE_BINARY_DIR}/${CPACK_DEBIAN_FILE_NAME}\n)
include(CPack)
