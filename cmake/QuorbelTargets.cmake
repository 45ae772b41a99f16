# How the project's libraries, programs and tests are assembled.
#
# A folder's sources follow one naming rule so that no list has to be kept:
#   Name.cpp        portable C++17, built everywhere
#   NameWin32.cpp   the Win32 side of a seam, built only for Windows
#   NamePosix.cpp   the native side of the same seam, built only on Linux

function(quorbel_target_defaults target)
  target_compile_features(${target} PUBLIC cxx_std_17)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  if(WIN32)
    target_compile_definitions(${target} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  endif()
endfunction()

# quorbel_platform_sources(<out-var> <dir>): the sources of <dir> for this build.
function(quorbel_platform_sources out dir)
  file(GLOB all CONFIGURE_DEPENDS ${dir}/*.cpp)
  set(picked "")
  foreach(src IN LISTS all)
    if(src MATCHES "Win32\\.cpp$")
      if(WIN32)
        list(APPEND picked ${src})
      endif()
    elseif(src MATCHES "Posix\\.cpp$")
      if(NOT WIN32)
        list(APPEND picked ${src})
      endif()
    else()
      list(APPEND picked ${src})
    endif()
  endforeach()
  set(${out} ${picked} PARENT_SCOPE)
endfunction()

# quorbel_add_library(<name> [LIBS <libs>...]): a static library of the
# current folder's sources.
function(quorbel_add_library name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  quorbel_platform_sources(sources ${CMAKE_CURRENT_SOURCE_DIR})
  add_library(${name} STATIC ${sources})
  quorbel_target_defaults(${name})
  if(ARG_LIBS)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  endif()
endfunction()

# quorbel_add_test(<name> [SOURCES files...] [LIBS libs...] [TIMEOUT s]
#                  [LABELS labels...] [FIXTURES fixtures...]):
# a GoogleTest program run by CTest, natively or under Wine.  Without
# SOURCES the test takes every *Test.cpp of the current folder (and the
# *TestWin32.cpp / *TestPosix.cpp of this build).
function(quorbel_add_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS;FIXTURES" ${ARGN})
  if(ARG_SOURCES)
    set(sources ${ARG_SOURCES})
  else()
    quorbel_platform_sources(sources ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_executable(${name} ${sources})
  quorbel_target_defaults(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} quorbel_test_support GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
    LABELS "${QUORBEL_BUILD_LABEL};${ARG_LABELS}")
  if(ARG_FIXTURES)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED "${ARG_FIXTURES}")
  endif()
endfunction()
