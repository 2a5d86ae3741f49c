# The host build: the pure byte-level code compiled natively with clang,
# AddressSanitizer and UndefinedBehaviorSanitizer, its GoogleTest tests, and
# the libFuzzer targets.
set(MVX_SAN -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g -O1)
add_compile_options(-Wall -Wextra)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

list(TRANSFORM MVX_PURE_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/)
add_library(mvxpure STATIC ${MVX_PURE_SOURCES} ${CMAKE_SOURCE_DIR}/tests/host/host_globals.cpp)
target_include_directories(mvxpure PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(mvxpure PUBLIC ${MVX_SAN})
target_link_options(mvxpure PUBLIC ${MVX_SAN})

enable_testing()
file(GLOB MVX_HOST_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/host/*_test.cpp)
add_executable(host_tests ${MVX_HOST_TESTS})
target_link_libraries(host_tests PRIVATE mvxpure gtest gtest_main)
target_include_directories(host_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/host)
add_test(NAME host_tests COMMAND host_tests --gtest_color=no)

# Fuzz targets: tests/fuzz/<name>_fuzz.cpp, each run for a fixed number of
# inputs as a ctest entry.
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  file(GLOB MVX_FUZZERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
  foreach(src ${MVX_FUZZERS})
    get_filename_component(fname ${src} NAME_WE)
    # The pure sources are compiled into each fuzzer as well, so that they
    # carry the coverage instrumentation that guides libFuzzer.
    add_executable(${fname} ${src} ${MVX_PURE_SOURCES})
    target_link_libraries(${fname} PRIVATE mvxpure)
    target_compile_options(${fname} PRIVATE -fsanitize=fuzzer)
    target_link_options(${fname} PRIVATE -fsanitize=fuzzer)
    add_test(NAME ${fname} COMMAND ${fname} -runs=200000 -seed=1 -max_len=70000)
  endforeach()
endif()
