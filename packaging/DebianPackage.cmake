# `cpack -G DEB` in the build folder makes quillprint_<version>_<arch>.deb from
# the install rules above, installed under /usr. Its library dependencies are
# read from the programs by dpkg-shlibdeps (Debian's dpkg-dev).
# tools/check-package.sh builds it and checks what it holds.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillprint)
set(CPACK_PACKAGE_VENDOR "Quillprint")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Authorship attribution by repeated phrases")
set(CPACK_PACKAGE_DESCRIPTION "Quillprint decides which of several candidate authors most likely wrote
a text of unknown origin: it finds every word sequence repeated in the
texts and scores each candidate by the phrases it alone shares with the
unknown text. The package holds the window program, the command-line tool
quillprint-cli, example projects and the help document.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Lumeno Quillprint maintainers <maintainers@users.noreply.c-seed-2f524499.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads the window's SVG icons through plugins of this package, which the
# programs do not link.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
# "Help" opens the PDF through the desktop's default viewer.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
