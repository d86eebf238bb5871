# Test images: tests/images/*.c compiled as image code, combined into one object each and
# turned into packaged images by qvimage (Linux build). qvrun runs them natively; the test
# command also attaches them to the Windows qvrun.exe and runs that under Wine.
set(test_image_dir ${CMAKE_BINARY_DIR}/images)
file(GLOB test_image_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/image_*.c)
set(test_images)
foreach(source ${test_image_sources})
  get_filename_component(name ${source} NAME_WE)
  set(object ${test_image_dir}/${name}.o)
  set(image ${test_image_dir}/${name}.qvi)
  add_custom_command(OUTPUT ${object} ${image}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${test_image_dir}
    COMMAND ${CMAKE_C_COMPILER} -m32 -c -O1 -ffreestanding -fno-pic -fno-stack-protector -fno-omit-frame-pointer
            -fno-jump-tables -fno-asynchronous-unwind-tables -fno-common -fno-builtin -mno-sse
            -Wall -Wextra -Werror -DQV_IMAGE -I${PROJECT_SOURCE_DIR} -o ${object} ${source}
    COMMAND $<TARGET_FILE:qvimage> -o ${image} ${object}
    DEPENDS ${source} ${CMAKE_CURRENT_LIST_DIR}/image_support.h ${PROJECT_SOURCE_DIR}/sdk/quaver.h qvimage
    COMMENT "Building test image ${name}"
    VERBATIM)
  list(APPEND test_images ${image})
endforeach()
add_custom_target(test_images ALL DEPENDS ${test_images})
add_dependencies(test_images qvrun)
