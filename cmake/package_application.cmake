# cmake -DSOURCE_DIR=... -DRUNTIME=runtime.exe -DPICTURE=picture.bmp -DPLUGIN_RECORD=record
#       -DOUTPUT=Hollerpad.exe [-DSTRIP=strip] [-DIMAGE_OBJECT=stand-in.o] -P package_application.cmake
#
# Makes the shipped program: the application image attached to runtime.exe with the about
# window's picture ("BMP " 0) and the plug-in library record ("QVPl" 65535). qvimage and the
# image object are Linux-build products, so this builds them there first (configuring the
# linux preset when its build folder is not set up yet); the Windows build has no way to
# track them itself, which is why its target runs this script on every build. IMAGE_OBJECT
# replaces the application's object (for trying the packaging with a test image). With STRIP
# the program is made from a copy of the runtime without its debugging information (most of
# its size); runtime.exe itself keeps it.
foreach(var SOURCE_DIR RUNTIME PICTURE PLUGIN_RECORD OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "package_application.cmake: -D${var}=... is required")
  endif()
endforeach()
set(linux_build ${SOURCE_DIR}/build/linux)
set(targets qvimage)
if(IMAGE_OBJECT)
  set(object ${IMAGE_OBJECT})
else()
  set(object ${linux_build}/app/hollerpad_app.o)
  list(APPEND targets hollerpad_image_object)
endif()

function(run_step what)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE result
                  OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    if(output MATCHES "unknown target 'hollerpad_image_object'")
      message(FATAL_ERROR "Hollerpad.exe cannot be made: the Linux build has no target hollerpad_image_object "
                          "(the application image's object, app/). Configure with "
                          "-DQUAVER_APP_IMAGE_OBJECT=<image object> to package another image.")
    endif()
    message(FATAL_ERROR "${what} failed:\n${output}")
  endif()
endfunction()

if(NOT EXISTS ${linux_build}/CMakeCache.txt)
  message(STATUS "Configuring the linux preset for qvimage and the application image")
  run_step("Configuring the linux preset" ${CMAKE_COMMAND} --preset linux)
endif()
run_step("Building ${targets} in ${linux_build}" ${CMAKE_COMMAND} --build --preset linux --target ${targets})
if(NOT EXISTS ${object})
  message(FATAL_ERROR "Hollerpad.exe cannot be made: no image object at ${object}")
endif()

# Written beside the result and copied only when it changed: an interrupted build never
# leaves half a program, and an unchanged one keeps its time stamp.
set(runtime ${RUNTIME})
if(STRIP)
  set(runtime ${OUTPUT}.runtime)
  run_step("Stripping a copy of ${RUNTIME}" ${STRIP} -o ${runtime} ${RUNTIME})
endif()
run_step("Attaching the application image"
  ${linux_build}/bin/qvimage --attach ${runtime} -o ${OUTPUT}.part ${object}
  --resource "BMP :0:${PICTURE}" --resource "QVPl:65535:${PLUGIN_RECORD}")
file(COPY_FILE ${OUTPUT}.part ${OUTPUT} ONLY_IF_DIFFERENT)
file(CHMOD ${OUTPUT} FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
     WORLD_EXECUTE)
file(REMOVE ${OUTPUT}.part ${OUTPUT}.runtime)
