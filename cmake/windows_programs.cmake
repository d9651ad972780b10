# Flags shared by everything that goes into the two Windows programs: small code, no exceptions,
# no RTTI, static runtime, no DLL beyond the system's.
if(WIN32)
  set(MORVANE_WINDOWS_CODE_FLAGS
      -Os -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -fno-unwind-tables
      -fno-threadsafe-statics -ffunction-sections -fdata-sections -Wall -Wextra -Wno-cast-function-type)
  set(MORVANE_WINDOWS_LINK_FLAGS -static -s -Wl,--gc-sections -mwindows)

  # A library compiled for the Windows programs.
  function(morvane_windows_code target)
    target_compile_options(${target} PRIVATE ${MORVANE_WINDOWS_CODE_FLAGS})
    target_compile_definitions(${target} PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501)
  endfunction()

  # A screen-saver program: links with the size flags and is named .scr.
  function(morvane_windows_program target)
    morvane_windows_code(${target})
    target_link_options(${target} PRIVATE ${MORVANE_WINDOWS_LINK_FLAGS})
    set_target_properties(${target} PROPERTIES SUFFIX ".exe")
  endfunction()
else()
  function(morvane_windows_code target)
  endfunction()
endif()

# Google Test from Debian's sources, built with whichever compiler this build uses.
macro(morvane_use_gtest)
  if(NOT TARGET gtest)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/_gtest EXCLUDE_FROM_ALL)
  endif()
endmacro()

# A Windows test program: gtest, static, run by ctest under wine64 inside the private session.
function(morvane_windows_test target)
  morvane_use_gtest()
  add_executable(${target} ${ARGN})
  target_link_libraries(${target} PRIVATE gtest)
  target_link_options(${target} PRIVATE -static)
  add_test(NAME ${target} COMMAND ${target})
  set_tests_properties(${target} PROPERTIES FIXTURES_REQUIRED wine_session TIMEOUT 300)
endfunction()

# A native test program.
function(morvane_native_test target)
  morvane_use_gtest()
  add_executable(${target} ${ARGN})
  target_link_libraries(${target} PRIVATE gtest gtest_main)
  add_test(NAME ${target} COMMAND ${target})
  set_tests_properties(${target} PROPERTIES TIMEOUT 300)
endfunction()
