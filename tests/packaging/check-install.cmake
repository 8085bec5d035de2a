# Installs the build tree into PREFIX and checks what lands there, and that the desktop files
# agree with one another and with what is installed.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install ${BUILD} --prefix ${PREFIX} failed")
endif()

set(id org.korvane.korvane)
set(expected
  bin/korvane
  bin/korvane-eval
  share/applications/korvane.desktop
  share/icons/hicolor/scalable/apps/korvane.svg
  share/metainfo/${id}.metainfo.xml
  share/mime/packages/korvane.xml
)
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT installed)
if(NOT installed STREQUAL expected)
  string(REPLACE ";" "\n  " expected "${expected}")
  string(REPLACE ";" "\n  " installed "${installed}")
  message(FATAL_ERROR "expected under ${PREFIX}:\n  ${expected}\ninstalled:\n  ${installed}")
endif()

execute_process(COMMAND ${PREFIX}/bin/korvane-eval --help RESULT_VARIABLE status
                OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the installed korvane-eval --help exits with ${status}")
endif()

# Fails with WHAT unless TEXT matches REGEX; the caller gets the first group.
function(require text regex what)
  if(NOT text MATCHES "${regex}")
    message(FATAL_ERROR "${what}")
  endif()
  set(CMAKE_MATCH_1 "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

file(READ ${PREFIX}/share/applications/korvane.desktop desktop)
file(READ ${PREFIX}/share/mime/packages/korvane.xml mime)
file(READ ${PREFIX}/share/metainfo/${id}.metainfo.xml metainfo)

require("${desktop}" "\nExec=([^ \n]+)" "the desktop entry has no Exec line")
require("${CMAKE_MATCH_1}" "^korvane$" "the desktop entry starts ${CMAKE_MATCH_1}, not korvane")
require("${desktop}" "\nIcon=([^\n]+)" "the desktop entry has no Icon line")
if(NOT EXISTS ${PREFIX}/share/icons/hicolor/scalable/apps/${CMAKE_MATCH_1}.svg)
  message(FATAL_ERROR "the desktop entry's icon ${CMAKE_MATCH_1} is not installed")
endif()
require("${desktop}" "\nMimeType=([^\n]+)" "the desktop entry has no MimeType line")
string(REGEX REPLACE ";$" "" types "${CMAKE_MATCH_1}")
foreach(type IN LISTS types)
  require("${mime}" "<mime-type type=\"${type}\"" "the desktop entry's ${type} is not installed")
  require("${metainfo}" "<mediatype>${type}</mediatype>" "the metainfo does not provide ${type}")
endforeach()

require("${metainfo}" "<id>${id}</id>" "the metainfo's id is not ${id}")
require("${metainfo}" "<launchable type=\"desktop-id\">korvane.desktop</launchable>"
        "the metainfo does not launch korvane.desktop")
require("${metainfo}" "<release version=\"${VERSION}\"" "the metainfo has no release ${VERSION}")
string(REGEX MATCHALL "<binary>[^<]+</binary>" binaries "${metainfo}")
foreach(binary IN LISTS binaries)
  string(REGEX REPLACE "</?binary>" "" binary "${binary}")
  if(NOT EXISTS ${PREFIX}/bin/${binary})
    message(FATAL_ERROR "the metainfo provides ${binary}, which is not installed")
  endif()
endforeach()
