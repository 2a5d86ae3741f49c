# The 32-bit Windows build: the program, the language module, and the
# GoogleTest executables that run under Wine.
enable_language(RC)
add_compile_options(-Wall -Wextra -fno-ident)
set(MVX_WIN_DEFS WIN32_LEAN_AND_MEAN=0 _WIN32_WINNT=0x0500 WINVER=0x0500 _WIN32_IE=0x0500)

file(GLOB MVX_CORE_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/app/*.cpp
  ${CMAKE_SOURCE_DIR}/io/*.cpp
  ${CMAKE_SOURCE_DIR}/registry/*.cpp
  ${CMAKE_SOURCE_DIR}/lang/*.cpp
  ${CMAKE_SOURCE_DIR}/setup/*.cpp
  ${CMAKE_SOURCE_DIR}/uninstall/*.cpp)
list(REMOVE_ITEM MVX_CORE_SOURCES ${CMAKE_SOURCE_DIR}/app/main.cpp)

# Everything but the entry point, so that tests link the same code.
add_library(mvxcore STATIC ${MVX_CORE_SOURCES})
target_include_directories(mvxcore PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_definitions(mvxcore PUBLIC ${MVX_WIN_DEFS})
target_compile_options(mvxcore PRIVATE -ffunction-sections -fdata-sections)
target_link_libraries(mvxcore PUBLIC shell32 ole32 uuid advapi32 user32 gdi32 comctl32)

set(MVX_RC ${CMAKE_SOURCE_DIR}/res/uninstall.rc)
set_source_files_properties(${MVX_RC} PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/res/dialogs.rc;${CMAKE_SOURCE_DIR}/res/resource.h;${CMAKE_SOURCE_DIR}/res/uninstall.manifest;${CMAKE_SOURCE_DIR}/res/mvxicon.ico;${CMAKE_SOURCE_DIR}/res/delicon.ico")

# app/ship/ holds what only the shipped program links: a quiet terminate
# handler and the shell-link GUIDs (each file says why).
add_executable(uninstall WIN32 app/main.cpp app/ship/quiet_terminate.cpp app/ship/shell_guids.cpp ${MVX_RC})
target_link_libraries(uninstall PRIVATE mvxcore)
target_link_options(uninstall PRIVATE -static -s -Wl,--gc-sections)
# The program runs one thread, so it links the compiler's runtime of the
# win32 thread variant, which needs no libwinpthread; the tests keep the
# posix variant that GoogleTest needs. Its objects come from the posix
# compiler either way and use no thread facility of the library.
string(REGEX REPLACE "-posix$" "-win32" MVX_WIN32_CXX "${CMAKE_CXX_COMPILER}")
execute_process(COMMAND ${MVX_WIN32_CXX} -print-file-name=libstdc++.a
  OUTPUT_VARIABLE MVX_WIN32_LIBSTDCXX OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(IS_ABSOLUTE "${MVX_WIN32_LIBSTDCXX}")
  get_filename_component(MVX_WIN32_RUNTIME ${MVX_WIN32_LIBSTDCXX} DIRECTORY)
  target_link_options(uninstall PRIVATE -L${MVX_WIN32_RUNTIME})
else()
  message(WARNING "No win32 thread variant of ${CMAKE_CXX_COMPILER}: uninstall.exe links libwinpthread")
endif()

# English language module: resources only, no code and no entry point.
add_library(mvxlng MODULE res/mvxlng.rc)
set_target_properties(mvxlng PROPERTIES PREFIX "" SUFFIX ".dll" LINKER_LANGUAGE C)
target_link_options(mvxlng PRIVATE -nostdlib -Wl,--entry=0 -s)

set(MVX_DIST_DIR ${CMAKE_SOURCE_DIR}/dist CACHE PATH "Where the shipped files go")
add_custom_target(dist ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${MVX_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:uninstall> ${MVX_DIST_DIR}/uninstall.exe
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:mvxlng> ${MVX_DIST_DIR}/mvxlng.dll
  DEPENDS uninstall mvxlng)

option(MVX_TESTS "Build the Windows test executables" ON)
if(MVX_TESTS)
  enable_testing()
  include(cmake/wintests.cmake)
  add_subdirectory(tests/win)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/tools/CMakeLists.txt)
  add_subdirectory(tools)
endif()
