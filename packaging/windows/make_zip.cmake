# Packs torami-windows.zip: what a player unzips into a game folder.
#   torami.exe             the player (stripped), needing only Windows' own libraries
#   fonts/ipag.ttf, ipam.ttf   the IPA fonts, used when the system lacks the title's own
#   licences/              the licences of everything built in or shipped
#   torami.txt             a short read-me
#   torami-demo/           the demo story: drag this folder onto torami.exe
# Run by the windows_zip target: cmake -DEXE=... -DSTRIP=... -DSOURCE_DIR=...
#   -DDEPS_PREFIX=... -DFONTS=... -DSTAGE=... -DOUT=... -P make_zip.cmake
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE}/fonts ${STAGE}/licences ${STAGE}/torami-demo)

file(COPY ${EXE} DESTINATION ${STAGE})
execute_process(COMMAND ${STRIP} ${STAGE}/torami.exe RESULT_VARIABLE stripped)
if(NOT stripped EQUAL 0)
  message(FATAL_ERROR "stripping torami.exe failed")
endif()
# The fonts as their Debian package installed them (a font file changed since, say cut
# down to a few characters, would pass unseen: the tests draw with the same file).
file(GLOB sums /var/lib/dpkg/info/fonts-ipafont-*.md5sums)
foreach(font ${FONTS})
  set(expected "")
  foreach(list ${sums})
    file(STRINGS ${list} lines)
    foreach(line ${lines})
      if(line MATCHES "^([0-9a-f]+)  /?(.*)$")
        if("/${CMAKE_MATCH_2}" STREQUAL font)
          set(expected ${CMAKE_MATCH_1})
        endif()
      endif()
    endforeach()
  endforeach()
  file(MD5 ${font} actual)
  if(expected AND NOT actual STREQUAL expected)
    message(FATAL_ERROR "${font} differs from what its package installed: "
                        "apt-get install --reinstall fonts-ipafont-gothic fonts-ipafont-mincho")
  endif()
endforeach()
file(COPY ${FONTS} DESTINATION ${STAGE}/fonts)
file(GLOB demo ${SOURCE_DIR}/demo/*)
file(COPY ${demo} DESTINATION ${STAGE}/torami-demo)

# Text for Notepad: CR LF line ends.
function(copy_text from to)
  if(NOT EXISTS ${from})
    message(FATAL_ERROR "${from} is missing (run scripts/port-deps windows and scripts/install-deps --windows)")
  endif()
  file(READ ${from} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${to} "${text}")
endfunction()

copy_text(${SOURCE_DIR}/packaging/windows/torami.txt ${STAGE}/torami.txt)
# The libraries built in, as Debian's source packages describe their copyright (the
# sources they were built from), and what else is shipped.
set(notices
  "${DEPS_PREFIX}/share/licenses/debian/libsdl2.copyright" SDL2.txt
  "${DEPS_PREFIX}/share/licenses/debian/libsdl2-ttf.copyright" SDL2_ttf.txt
  "${DEPS_PREFIX}/share/licenses/debian/libsdl2-image.copyright" SDL2_image.txt
  "${DEPS_PREFIX}/share/licenses/debian/libsdl2-mixer.copyright" SDL2_mixer.txt
  "${DEPS_PREFIX}/share/licenses/debian/freetype.copyright" FreeType.txt
  /usr/share/doc/nlohmann-json3-dev/copyright nlohmann-json.txt
  /usr/share/doc/mingw-w64-x86-64-dev/copyright MinGW-w64-runtime.txt
  /usr/share/doc/fonts-ipafont-gothic/copyright IPA-fonts.txt)
while(notices)
  list(POP_FRONT notices from to)
  copy_text(${from} ${STAGE}/licences/${to})
endwhile()

file(REMOVE ${OUT})
file(GLOB_RECURSE entries RELATIVE ${STAGE} ${STAGE}/*)
list(SORT entries)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${OUT} --format=zip -- ${entries}
  WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE packed)
if(NOT packed EQUAL 0)
  message(FATAL_ERROR "packing ${OUT} failed")
endif()
