# The MIME package is well-formed XML, and shared-mime-info maps both extensions to the type.
set(type application/x-korvane-moves)

execute_process(COMMAND ${XMLLINT} --noout --nonet ${XML} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "xmllint rejects ${XML}")
endif()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/packages)
file(COPY_FILE ${XML} ${WORK}/packages/korvane.xml)
execute_process(COMMAND ${UPDATE_MIME_DATABASE} ${WORK} RESULT_VARIABLE status
                OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0 OR out MATCHES "[Ww]arning|[Ee]rror|[Uu]nknown")
  message(FATAL_ERROR "update-mime-database ${WORK} (status ${status}):\n${out}")
endif()

file(READ ${WORK}/globs2 globs)
foreach(ext loa btg)
  if(NOT globs MATCHES "(^|\n)[0-9]+:${type}:\\*\\.${ext}\n")
    message(FATAL_ERROR "*.${ext} is not of type ${type}; globs2:\n${globs}")
  endif()
endforeach()
file(READ ${WORK}/subclasses subclasses)
if(NOT subclasses MATCHES "(^|\n)${type} text/plain\n")
  message(FATAL_ERROR "${type} is not a kind of text/plain; subclasses:\n${subclasses}")
endif()
