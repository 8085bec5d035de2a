# Makes the Debian package of the build tree and checks its name, contents and dependencies.
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CPACK} -G DEB --config ${BUILD}/CPackConfig.cmake -B ${WORK}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cpack -G DEB failed:\n${out}")
endif()
file(GLOB debs ${WORK}/*.deb)
list(LENGTH debs count)
if(NOT count EQUAL 1 OR NOT debs MATCHES "/korvane_${VERSION}_[a-z0-9]+\\.deb$")
  message(FATAL_ERROR "expected one korvane_${VERSION}_ARCH.deb, got: ${debs}")
endif()

execute_process(COMMAND ${DPKG_DEB} -c ${debs} RESULT_VARIABLE status OUTPUT_VARIABLE listing)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "dpkg-deb -c ${debs} failed")
endif()
foreach(path
    usr/bin/korvane
    usr/bin/korvane-eval
    usr/share/applications/korvane.desktop
    usr/share/icons/hicolor/scalable/apps/korvane.svg
    usr/share/metainfo/org.korvane.korvane.metainfo.xml
    usr/share/mime/packages/korvane.xml)
  string(REPLACE "." "\\." regex "${path}")
  if(NOT listing MATCHES " \\./${regex}\n")
    message(FATAL_ERROR "${path} is not in ${debs}:\n${listing}")
  endif()
endforeach()

execute_process(COMMAND ${DPKG_DEB} -f ${debs} Depends Maintainer Section OUTPUT_VARIABLE fields)
foreach(field "Depends: [^\n]*libqt6widgets6" "Maintainer: [^\n]*<[^>]+@[^>]+>" "Section: .")
  if(NOT fields MATCHES "${field}")
    message(FATAL_ERROR "the control fields do not match ${field}:\n${fields}")
  endif()
endforeach()
