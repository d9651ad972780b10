# The Debian package (make deb, or cpack -G DEB in a build tree configured for /usr): the files
# of the install, its dependencies read from the programs' shared libraries by dpkg-shlibdeps,
# and the copyright file and changelog a Debian package carries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME morvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_PACKAGE_CONTACT "Morvane developers <morvane@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "sprite animation screen savers for XScreenSaver and Windows")
# The synopsis above is the description's first line; these lines follow it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Morvane plays scenes of animated characters that move, bounce and grow over a
background colour and a wallpaper, with a looping sound. This package holds
the XScreenSaver display hack morvane-play, morvane-render, which plays a
scene into a PNG or an animated GIF, and morvane-pack, which builds a
packaged screen saver for Windows from a scene, with the player it needs and
a sample scene.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS xscreensaver)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)

# The changelog's one entry names this version; its date is the build's, or SOURCE_DATE_EPOCH's.
set(debian_doc ${CMAKE_BINARY_DIR}/debian-doc)
string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE ${debian_doc}/changelog.Debian
  "morvane (${PROJECT_VERSION}-1) unstable; urgency=medium\n\n"
  "  * Morvane ${PROJECT_VERSION}.\n\n"
  " -- ${CPACK_PACKAGE_CONTACT}  ${changelog_date}\n")
add_custom_command(OUTPUT ${debian_doc}/changelog.Debian.gz
  COMMAND gzip -9n -c ${debian_doc}/changelog.Debian > ${debian_doc}/changelog.Debian.gz
  DEPENDS ${debian_doc}/changelog.Debian)
add_custom_target(morvane-debian-doc ALL DEPENDS ${debian_doc}/changelog.Debian.gz)
add_dependencies(morvane-man-pages morvane-debian-doc)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/copyright ${debian_doc}/changelog.Debian.gz
  DESTINATION share/doc/morvane)
include(CPack)
