# Flags shared by every target: 32-bit, frame pointers kept (the exception search walks the
# frame chain), warnings are errors.
add_library(quaver_options INTERFACE)
target_compile_options(quaver_options INTERFACE
  -Wall -Wextra -Werror -fno-omit-frame-pointer)
target_include_directories(quaver_options INTERFACE ${PROJECT_SOURCE_DIR})

if(WIN32)
  target_compile_definitions(quaver_options INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN
                             STRICT NOMINMAX _WIN32_WINNT=0x0601)
  target_link_options(quaver_options INTERFACE -static -static-libgcc -static-libstdc++)
endif()

if(QUAVER_SANITIZE)
  target_compile_options(quaver_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all)
  target_link_options(quaver_options INTERFACE -fsanitize=address,undefined)
endif()

# Fuzz builds: every library the fuzz targets drive carries libFuzzer's coverage counters, or
# the fuzzer sees only its harness. The driver itself (-fsanitize=fuzzer) is linked into the
# fuzz executables alone.
if(QUAVER_FUZZ)
  target_compile_options(quaver_options INTERFACE -fsanitize=fuzzer-no-link)
endif()
