# Manual pages from scdoc sources: morvane_man_page(SOURCE [DEPENDS ...]) turns SOURCE, named
# NAME.SECTION.scd (in the source tree or made by the build), into NAME.SECTION.gz, built with
# the target morvane-man-pages and installed in share/man/manSECTION.
find_program(MORVANE_SCDOC scdoc)
find_program(MORVANE_GZIP gzip)
add_custom_target(morvane-man-pages ALL)

function(morvane_man_page source)
  cmake_parse_arguments(PAGE "" "" "DEPENDS" ${ARGN})
  get_filename_component(file ${source} NAME)
  if(NOT file MATCHES "^(.+)\\.([1-9])\\.scd$")
    message(FATAL_ERROR "${source}: a manual page source is named NAME.SECTION.scd")
  endif()
  set(page ${CMAKE_MATCH_1})
  set(section ${CMAKE_MATCH_2})
  set(output ${CMAKE_BINARY_DIR}/man/${page}.${section}.gz)
  if(NOT MORVANE_SCDOC OR NOT MORVANE_GZIP)
    # The rest of the build goes on; only the pages, and what installs them, stop here.
    add_custom_command(OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -E echo "scdoc and gzip make the manual pages: scripts/setup installs them"
      COMMAND ${CMAKE_COMMAND} -E false)
    add_custom_target(man-${page} DEPENDS ${output})
    add_dependencies(morvane-man-pages man-${page})
    return()
  endif()
  # gzip -n: no name or time in the file, so that every build gives the same bytes.
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND sh -c "'${MORVANE_SCDOC}' < '${source}' | '${MORVANE_GZIP}' -9n > '${output}.part' && mv '${output}.part' '${output}'"
    DEPENDS ${source} ${PAGE_DEPENDS}
    COMMENT "Manual page ${page}(${section})"
    VERBATIM)
  add_custom_target(man-${page} DEPENDS ${output})
  add_dependencies(morvane-man-pages man-${page})
  install(FILES ${output} DESTINATION share/man/man${section})
endfunction()
