# Tools that the build runs to make the Windows programs' resources (their icons, their version
# resources). A cross build's compiler makes Windows programs, so there each tool is compiled
# with the building machine's own compiler; a native build makes it like its other programs.
#   morvane_build_tool(NAME SOURCES file... [INCLUDES dir...] [LIBRARIES lib...])
# defines the target NAME_tool and the global property MORVANE_TOOL_NAME, the program's path.
function(morvane_build_tool name)
  cmake_parse_arguments(PARSE_ARGV 1 tool "" "" "SOURCES;INCLUDES;LIBRARIES")
  if(CMAKE_CROSSCOMPILING)
    find_program(MORVANE_BUILD_CXX NAMES c++ g++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
    set(program ${CMAKE_BINARY_DIR}/build-tools/${name})
    set(flags)
    set(headers)
    foreach(dir ${tool_INCLUDES})
      list(APPEND flags -I${dir})
      file(GLOB dir_headers ${dir}/*.h)
      list(APPEND headers ${dir_headers})
    endforeach()
    foreach(library ${tool_LIBRARIES})
      list(APPEND flags -l${library})
    endforeach()
    add_custom_command(
      OUTPUT ${program}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/build-tools
      COMMAND ${MORVANE_BUILD_CXX} -std=c++17 -O2 -Wall -Wextra ${tool_SOURCES} -o ${program} ${flags}
      DEPENDS ${tool_SOURCES} ${headers}
      COMMENT "Building ${name} for this machine"
      VERBATIM)
    add_custom_target(${name}_tool DEPENDS ${program})
  else()
    add_executable(${name} ${tool_SOURCES})
    target_include_directories(${name} PRIVATE ${tool_INCLUDES})
    target_link_libraries(${name} PRIVATE ${tool_LIBRARIES})
    add_custom_target(${name}_tool DEPENDS ${name})
    set(program $<TARGET_FILE:${name}>)
  endif()
  set_property(GLOBAL PROPERTY MORVANE_TOOL_${name} ${program})
endfunction()

# A Windows program's version resource for its .rc file: the product and MORVANE_VERSION, and a
# description in each language, given as pairs of a language id in hexadecimal and the text.
# ROOM: the UTF-16 units each description keeps for a longer one set later (0: none).
#   morvane_version_resource(OUTPUT ROOM LANGUAGE TEXT [LANGUAGE TEXT]...)
function(morvane_version_resource output room)
  get_property(tool GLOBAL PROPERTY MORVANE_TOOL_morvane-version-resource)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${tool} ${output} ${MORVANE_VERSION} ${room} Morvane ${ARGN}
    DEPENDS morvane-version-resource_tool ${tool}
    VERBATIM)
endfunction()

# A Windows program's icon file for its .rc file, drawn by tools/icon-art: KIND designer or player.
#   morvane_icon(OUTPUT KIND)
function(morvane_icon output kind)
  get_property(tool GLOBAL PROPERTY MORVANE_TOOL_morvane-icon-art)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${tool} ${kind} ${output}
    DEPENDS morvane-icon-art_tool ${tool}
    VERBATIM)
endfunction()
