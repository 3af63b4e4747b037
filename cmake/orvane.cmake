# Project-wide compile settings and the test registration helper.

add_library(orvane_warnings INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  target_compile_options(orvane_warnings INTERFACE -Wall -Wextra -Wpedantic)
elseif(MSVC)
  target_compile_options(orvane_warnings INTERFACE /W4 /utf-8)
endif()
target_compile_definitions(orvane_warnings INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_URL_CAST_FROM_STRING QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)

# The hardening a Debian package is expected to carry (the flags dpkg-buildflags would add).
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang" AND CMAKE_SYSTEM_NAME STREQUAL "Linux" AND NOT ORVANE_SANITIZE)
  add_compile_options($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-D_FORTIFY_SOURCE=2>)
  add_link_options(LINKER:-z,relro,-z,now)
endif()

if(ORVANE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Every library of a fuzzing tree is instrumented for coverage; only the targets link libFuzzer.
if(ORVANE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "ORVANE_FUZZ needs clang (configure with CXX=clang++)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
    -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# orvane_add_test(<name> SOURCES <files...> LIBS <targets...> LABELS <unit|widgets|desktop>)
# Registers one Qt Test executable. Widget tests run on the offscreen platform with their own
# runtime and config folders, so that no test writes into the home folder.
function(orvane_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} orvane_test_support Qt6::Test orvane_warnings)
  add_test(NAME ${name} COMMAND ${name})
  set(env "QT_QPA_PLATFORM=offscreen"
          "XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/test-runtime"
          "XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-config"
          "ASAN_OPTIONS=detect_leaks=0"
          "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
  set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}" ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()
