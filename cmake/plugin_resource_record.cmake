# cmake -DNAME=<file name> -DLIBRARY=<library> -DOUTPUT=<record> -P plugin_resource_record.cmake
#
# Writes the record an image carries a plug-in library in: one byte holding the length of the
# library's file name, the name itself, then the library's bytes. Start-up writes the bytes to
# a file of that name in the plug-in folder and loads it.
foreach(var NAME LIBRARY OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "plugin_resource_record.cmake: -D${var}=... is required")
  endif()
endforeach()
if(NOT EXISTS "${LIBRARY}")
  message(FATAL_ERROR "plugin_resource_record.cmake: no library at ${LIBRARY}")
endif()
string(LENGTH "${NAME}" name_length)
# string(ASCII) writes one byte only below 128; NUL cannot be written at all.
if(name_length LESS 1 OR name_length GREATER 127 OR NOT NAME MATCHES "^[ -~]+$")
  message(FATAL_ERROR "plugin_resource_record.cmake: the file name \"${NAME}\" must be 1 to 127 printable ASCII bytes")
endif()
string(ASCII ${name_length} length_byte)
set(header "${OUTPUT}.header")
file(WRITE "${header}" "${length_byte}${NAME}")
# cmake -E cat copies bytes unchanged; file(READ)/file(WRITE) cannot carry NUL bytes.
execute_process(COMMAND "${CMAKE_COMMAND}" -E cat "${header}" "${LIBRARY}"
                OUTPUT_FILE "${OUTPUT}.part" RESULT_VARIABLE result)
file(REMOVE "${header}")
if(NOT result EQUAL 0)
  file(REMOVE "${OUTPUT}.part")
  message(FATAL_ERROR "plugin_resource_record.cmake: could not write ${OUTPUT}")
endif()
file(RENAME "${OUTPUT}.part" "${OUTPUT}")
