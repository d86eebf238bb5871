# qvimage's tests read i386 objects compiled here from fixtures/*.c with the image code's own
# flags, so the tests themselves never need a compiler. Linux build only, like qvimage.
file(GLOB qvimage_fixture_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/fixtures/*.c)
set(qvimage_fixture_dir ${CMAKE_CURRENT_BINARY_DIR}/qvimage_fixtures)
set(qvimage_fixture_objects)
foreach(source ${qvimage_fixture_sources})
  get_filename_component(name ${source} NAME_WE)
  set(object ${qvimage_fixture_dir}/${name}.o)
  # negative_addend shows its relocation only when optimised.
  set(flags)
  if(name STREQUAL "negative_addend")
    set(flags -O2)
  endif()
  quaver_add_image_object(SOURCE ${source} OBJECT ${object} FLAGS ${flags})
  list(APPEND qvimage_fixture_objects ${object})
endforeach()
add_custom_target(qvimage_fixtures DEPENDS ${qvimage_fixture_objects})

add_dependencies(tools_tests qvimage_fixtures)
target_compile_definitions(tools_tests PRIVATE QVIMAGE_FIXTURE_DIR="${qvimage_fixture_dir}"
                           QVIMAGE_HOSTILE_DIR="${CMAKE_CURRENT_LIST_DIR}/fixtures/hostile")
target_link_libraries(tools_tests PRIVATE qvimage_core quaver_loader quaver_platform)
