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
  quaver_add_image_object(SOURCE ${source} OBJECT ${object} FLAGS -O1 -Wall -Wextra -Werror
                          DEPENDS ${CMAKE_CURRENT_LIST_DIR}/image_support.h
                          ${CMAKE_CURRENT_LIST_DIR}/gui_app_support.h)
  add_custom_command(OUTPUT ${image}
    COMMAND $<TARGET_FILE:qvimage> -o ${image} ${object}
    DEPENDS ${object} qvimage
    COMMENT "Building test image ${name}"
    VERBATIM)
  list(APPEND test_images ${image})
endforeach()
add_custom_target(test_images ALL DEPENDS ${test_images})
add_dependencies(test_images qvrun)

# The plug-in library image_plugin_extension is run with (qvrun --plugin), beside the images.
add_library(test_extension SHARED ${CMAKE_CURRENT_LIST_DIR}/extension_plugin.c)
target_link_libraries(test_extension PRIVATE quaver_options)
set_target_properties(test_extension PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${test_image_dir})
add_dependencies(test_images test_extension)

# Images assembled by hand, byte by byte, whose code begins with the entry's own instructions.
add_executable(hand_assembled_images ${CMAKE_CURRENT_LIST_DIR}/hand_assembled_images.cpp)
target_link_libraries(hand_assembled_images PRIVATE qvimage_core)
set(hand_images)
foreach(name hand_call_at_entry hand_string_push hand_data_address)
  list(APPEND hand_images ${test_image_dir}/${name}.qvi)
endforeach()
add_custom_command(OUTPUT ${hand_images}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${test_image_dir}
  COMMAND $<TARGET_FILE:hand_assembled_images> ${test_image_dir}
  DEPENDS hand_assembled_images
  COMMENT "Writing the hand-assembled test images"
  VERBATIM)
add_custom_target(hand_images ALL DEPENDS ${hand_images})
add_dependencies(test_images hand_images)
