# The Debian package: `cpack` in the build folder makes tamzelon_<version>_<arch>.deb
# from the install rules, for `apt install ./tamzelon_*.deb`.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tamzelon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tamzelon developers")
set(CPACK_PACKAGE_CONTACT "Tamzelon developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "puzzle game: shoot groups of equal stones")
# One paragraph per block, lines under 80 characters, as lintian wants.
set(CPACK_PACKAGE_DESCRIPTION "\
Tamzelon is a puzzle game for one player. The field holds 600 stones in
three colours, 30 columns of 20 rows. Shoot a group of n connected stones
of one colour for n x n points; the stones above fall and empty columns
close up to the left. Clearing the whole field earns 1500 extra points.

A German comment line answers every shot, and the ten best results are kept.
The game runs full screen or in a window and is played with the mouse, the
keyboard or a game controller.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tamzelon developers <developers@tamzelon.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps reads the libraries the game links (SDL2, the C++ runtime)
# and names the packages that hold them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# Between install and packing, two touches for Debian:
# - its policy puts the programs of a game in /usr/games (lintian's
#   package-section-games-but-contains-no-game otherwise), so the launcher
#   moves there from bin, where `cmake --install` puts it; it finds the game
#   and the sounds from its own place, one folder below the prefix either way;
# - the stripped game loses its .comment section too, as dh_strip does.
set(tz_prebuild ${CMAKE_BINARY_DIR}/cpack_prebuild.cmake)
file(CONFIGURE OUTPUT ${tz_prebuild} @ONLY CONTENT [=[
set(root "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
file(MAKE_DIRECTORY "${root}/games")
file(RENAME "${root}/@CMAKE_INSTALL_BINDIR@/tamzelon" "${root}/games/tamzelon")
file(GLOB left "${root}/@CMAKE_INSTALL_BINDIR@/*")
if(NOT left)
    file(REMOVE_RECURSE "${root}/@CMAKE_INSTALL_BINDIR@")
endif()
execute_process(
    COMMAND "@CMAKE_STRIP@" --remove-section=.comment
        "${root}/@CMAKE_INSTALL_LIBEXECDIR@/tamzelon/tamzelon"
    COMMAND_ERROR_IS_FATAL ANY)
]=])
set(CPACK_PRE_BUILD_SCRIPTS ${tz_prebuild})

include(CPack)
