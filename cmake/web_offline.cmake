# Writes the page's service worker (SITE/sw.js from TEMPLATE): the files it keeps for
# playing offline (the player, its package and the game's files that come after its title,
# game/), and a name for this build made of their contents, so that a page built anew (or a
# game published as a page) replaces what an earlier one kept.
# Usage: cmake -DSITE=DIR -DTEMPLATE=sw.js.in -P web_offline.cmake
set(files index.html page.js page.css torami.js torami.wasm torami-data.js torami.data
          manifest.webmanifest icon.png icon-192.png icon-512.png)
file(GLOB_RECURSE later RELATIVE ${SITE} ${SITE}/game/*)
list(FILTER later EXCLUDE REGEX "\\.(br|gz)$")
list(SORT later)
set(sums "")
set(listed "'./'")
foreach(f ${files} ${later})
  if(NOT EXISTS ${SITE}/${f})
    message(FATAL_ERROR "${SITE} has no ${f}")
  endif()
  file(SHA256 ${SITE}/${f} sum)
  string(APPEND sums "${f} ${sum}\n")
  # As an address in a quoted string: the characters that would end either, escaped.
  string(REPLACE "%" "%25" url "${f}")
  string(REPLACE " " "%20" url "${url}")
  string(REPLACE "#" "%23" url "${url}")
  string(REPLACE "?" "%3F" url "${url}")
  string(REPLACE "'" "%27" url "${url}")
  string(REPLACE "\\" "%5C" url "${url}")
  string(APPEND listed ", '${url}'")
endforeach()
file(SHA256 ${TEMPLATE} sum)
string(APPEND sums "sw.js ${sum}\n")
string(SHA256 build "${sums}")
string(SUBSTRING ${build} 0 16 TORAMI_BUILD)
set(TORAMI_PLAYER_FILES ${listed})
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
