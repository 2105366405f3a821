# Test helpers: GoogleTest for the native and the MinGW build, and one function to add a test.

macro(kineloop_add_googletest)
  if(WIN32)
    # Debian ships GoogleTest as sources; build them with MinGW, statically, without pthreads.
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  else()
    find_package(GTest REQUIRED)
    if(NOT TARGET GTest::gtest_main)
      add_library(GTest::gtest_main ALIAS GTest::Main)
    endif()
  endif()
endmacro()

# kineloop_add_test(NAME SOURCES file... [LIBS lib...] [TIMEOUT seconds] [LABELS label...] [SOUND])
# Builds a GoogleTest program and registers it with CTest. In the Windows build CTest runs it
# through the Wine wrapper (CMAKE_CROSSCOMPILING_EMULATOR); with SOUND, beside a private sound
# server whose device it records (tests/music), with the test tones at hand.
function(kineloop_add_test name)
  cmake_parse_arguments(ARG "SOUND" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(WIN32)
    target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/wine/unbuffered_output.cpp)
    target_link_libraries(${name} PRIVATE gtest_main ${ARG_LIBS})
    target_link_options(${name} PRIVATE -static)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main ${ARG_LIBS})
  endif()
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  if(ARG_SOUND)
    target_link_libraries(${name} PRIVATE kineloop_sound_recording)
    target_compile_definitions(${name} PRIVATE KINELOOP_TONE_WAV="${KINELOOP_TEST_TONE_WAV}"
                                               KINELOOP_TONE_MP3="${KINELOOP_TEST_TONE_MP3}")
    add_dependencies(${name} music_test_media)
    add_test(NAME ${name} COMMAND ${KINELOOP_WITH_SOUND_SERVER} ${CMAKE_CROSSCOMPILING_EMULATOR}
                                  $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  # Labels by kind (unit, win, e2e from the name's prefix; sound for tests beside a sound server),
  # so that `ctest -L unit` or `-LE e2e` picks a fast set.
  string(REGEX MATCH "^[a-z0-9]+" kind ${name})
  list(APPEND ARG_LABELS ${kind})
  if(ARG_SOUND)
    list(APPEND ARG_LABELS sound)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS "${ARG_LABELS}")
endfunction()
