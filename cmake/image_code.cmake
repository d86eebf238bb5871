# Image code: freestanding 32-bit C against sdk/quaver.h, compiled into an i386 ELF object
# that qvimage turns into an image. The README's gcc line shows these same flags.
include_guard(GLOBAL)

# No C library, no position-independent code, no jump tables or unwind tables (the image has
# no data relocations to hold them), frame pointers for the exception search, and no SSE or
# builtin expansions that assume more than the runtime promises.
set(QUAVER_IMAGE_C_FLAGS
  -m32 -ffreestanding -fno-pic -fno-stack-protector -fno-omit-frame-pointer -fno-jump-tables
  -fno-asynchronous-unwind-tables -fno-common -fno-builtin -mno-sse -DQV_IMAGE)

# quaver_add_image_object(SOURCE file.c OBJECT file.o [FLAGS ...] [DEPENDS ...]): a custom
# command that compiles one source of image code; FLAGS adds to the image flags (optimisation,
# warnings), DEPENDS names headers besides sdk/quaver.h.
function(quaver_add_image_object)
  cmake_parse_arguments(ARG "" "SOURCE;OBJECT" "FLAGS;DEPENDS" ${ARGN})
  get_filename_component(folder ${ARG_OBJECT} DIRECTORY)
  get_filename_component(name ${ARG_OBJECT} NAME)
  add_custom_command(OUTPUT ${ARG_OBJECT}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${CMAKE_C_COMPILER} -c ${QUAVER_IMAGE_C_FLAGS} ${ARG_FLAGS} -I${PROJECT_SOURCE_DIR}
            -o ${ARG_OBJECT} ${ARG_SOURCE}
    DEPENDS ${ARG_SOURCE} ${PROJECT_SOURCE_DIR}/sdk/quaver.h ${PROJECT_SOURCE_DIR}/cmake/image_code.cmake ${ARG_DEPENDS}
    COMMENT "Compiling image code ${name}"
    VERBATIM)
endfunction()
