# qvimage's tests read i386 objects compiled here from fixtures/*.c with the image code's own
# flags, so the tests themselves never need a compiler. Linux build only, like qvimage.
file(GLOB qvimage_fixture_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/fixtures/*.c)
set(qvimage_fixture_dir ${CMAKE_CURRENT_BINARY_DIR}/qvimage_fixtures)
set(qvimage_fixture_objects)
foreach(source ${qvimage_fixture_sources})
  get_filename_component(name ${source} NAME_WE)
  set(object ${qvimage_fixture_dir}/${name}.o)
  add_custom_command(OUTPUT ${object}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${qvimage_fixture_dir}
    COMMAND ${CMAKE_C_COMPILER} -m32 -c -ffreestanding -fno-pic -fno-stack-protector -fno-omit-frame-pointer
            -fno-jump-tables -fno-asynchronous-unwind-tables -fno-common -DQV_IMAGE -I${PROJECT_SOURCE_DIR}
            -o ${object} ${source}
    DEPENDS ${source} ${PROJECT_SOURCE_DIR}/sdk/quaver.h
    COMMENT "Compiling qvimage fixture ${name}.o"
    VERBATIM)
  list(APPEND qvimage_fixture_objects ${object})
endforeach()
add_custom_target(qvimage_fixtures DEPENDS ${qvimage_fixture_objects})

add_dependencies(tools_tests qvimage_fixtures)
target_compile_definitions(tools_tests PRIVATE QVIMAGE_FIXTURE_DIR="${qvimage_fixture_dir}")
target_link_libraries(tools_tests PRIVATE qvimage_core quaver_loader quaver_platform)
