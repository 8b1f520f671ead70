# The Debian package: `cpack` in the build folder makes tamzelon_<version>_<arch>.deb
# from the install rules, for `apt install ./tamzelon_*.deb`.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tamzelon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tamzelon developers")
set(CPACK_PACKAGE_CONTACT "Tamzelon developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "puzzle game: shoot groups of equal stones")
set(CPACK_PACKAGE_DESCRIPTION "A field of 600 stones in three colours. Shoot a group of n connected \
stones of one colour for n x n points; the stones above fall and empty columns close up. German \
texts, sound and music, and a table of the ten best results.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tamzelon developers")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps reads the libraries the game links (SDL2, SDL2_ttf, the C++
# runtime) and names the packages that hold them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
