# GoogleTest for MinGW, and the helper that registers a Windows test
# executable with ctest: one entry per Windows family it should run under,
# each in a private Wine prefix (tests/wine-run).
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(MVX_WINE_RUN ${CMAKE_SOURCE_DIR}/tests/wine-run)

add_library(testutil STATIC ${CMAKE_SOURCE_DIR}/tests/win/support/testutil.cpp)
target_include_directories(testutil PUBLIC ${CMAKE_SOURCE_DIR}/tests/win/support)
target_link_libraries(testutil PUBLIC gtest shell32 advapi32 user32)

# mvx_win_test(<name> SOURCES <files...> [FAMILIES nt win98 ...] [GUI]
#              [LOCALE zh|de|C] [TIMEOUT s] [RESOURCES] [CONSOLE])
# Builds test_<name>.exe and adds the ctest entries <name>.<family>.
# RESOURCES links the program's own resources into the test executable, so
# that GetMessageText and the dialogs find their templates there.
function(mvx_win_test name)
  cmake_parse_arguments(T "GUI;RESOURCES" "LOCALE;TIMEOUT" "SOURCES;FAMILIES;LIBS" ${ARGN})
  if(NOT T_FAMILIES)
    set(T_FAMILIES nt)
  endif()
  if(NOT T_LOCALE)
    set(T_LOCALE zh)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set(sources ${T_SOURCES})
  if(T_RESOURCES)
    list(APPEND sources ${MVX_RC})
  endif()
  add_executable(test_${name} ${sources})
  target_link_libraries(test_${name} PRIVATE mvxcore testutil gtest gtest_main ${T_LIBS})
  target_link_options(test_${name} PRIVATE -static)
  target_include_directories(test_${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/win)
  add_dependencies(test_${name} dist)
  set(gui "")
  if(T_GUI)
    set(gui --gui)
  endif()
  foreach(family ${T_FAMILIES})
    add_test(NAME ${name}.${family}
      COMMAND ${MVX_WINE_RUN} --build ${CMAKE_BINARY_DIR} --family ${family}
              --locale ${T_LOCALE} ${gui} --name ${name}.${family}
              -- $<TARGET_FILE:test_${name}> --gtest_color=no)
    set_tests_properties(${name}.${family} PROPERTIES TIMEOUT ${T_TIMEOUT}
      ENVIRONMENT "MVX_DIST=${MVX_DIST_DIR};MVX_SOURCE=${CMAKE_SOURCE_DIR};MVX_BUILD=${CMAKE_BINARY_DIR}")
  endforeach()
endfunction()
