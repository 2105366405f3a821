# One library per subsystem folder, and the build-time check that #include edges follow the layers.

# Every subsystem folder and the folders its files may include (besides its own).
set(KINELOOP_LAYERS
    "platform:"
    "bitmap:"
    "settings:platform"
    "video:platform,bitmap"
    "scratch:platform,bitmap"
    "music:platform"
    "controls:platform"
    "show:platform,settings,bitmap,video,scratch,music"
    "settings_dialog:platform,settings,bitmap,video,scratch,controls"
    "startup:platform,settings,bitmap,video,scratch,music,controls,show,settings_dialog")

option(KINELOOP_SANITIZE "Native build: address and undefined-behaviour sanitizers everywhere" OFF)
if(KINELOOP_SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# kineloop_add_library(FOLDER [PORTABLE file...] [WINDOWS file...] [USES folder...]
#                      [SYSTEM lib...])
# Makes `kineloop_FOLDER` from src/FOLDER: the portable files everywhere, the Win32 files and the
# system libraries in the Windows build. USES names the lower layers it links.
function(kineloop_add_library folder)
  cmake_parse_arguments(ARG "" "" "PORTABLE;WINDOWS;USES;SYSTEM" ${ARGN})
  set(sources ${ARG_PORTABLE})
  if(WIN32)
    list(APPEND sources ${ARG_WINDOWS})
  endif()
  set(target kineloop_${folder})
  if(sources)
    add_library(${target} STATIC ${sources})
    set(scope PUBLIC)
    add_dependencies(${target} kineloop_layering)
  else()
    add_library(${target} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${target} ${scope} ${CMAKE_SOURCE_DIR}/src)
  list(TRANSFORM ARG_USES PREPEND kineloop_)
  target_link_libraries(${target} ${scope} ${ARG_USES})
  if(WIN32)
    target_link_libraries(${target} ${scope} ${ARG_SYSTEM})
  endif()
endfunction()

# Fails the build on an #include edge outside the layers table.
add_custom_target(kineloop_layering
  COMMAND ${CMAKE_COMMAND} -DTREE=${CMAKE_SOURCE_DIR}/src "-DLAYERS=${KINELOOP_LAYERS}"
          -P ${CMAKE_SOURCE_DIR}/cmake/CheckLayering.cmake
  COMMENT "Checking the #include edges between the subsystems"
  VERBATIM)
