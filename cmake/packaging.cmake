# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package, made by CPack from the installation (scripts/build-deb.sh configures a
# build for it). dpkg-shlibdeps finds the libraries the program needs; the program is
# stripped; the documents are Debian's (see data/CMakeLists.txt).
set(TESSARO_PACKAGE_MAINTAINER "Tessaro maintainers <maintainers@users.noreply.c-seed-13a14568.example>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessaro)
set(CPACK_PACKAGE_VENDOR Orvendal)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "clipboard watcher with history and text and image actions")
# Lines of at most 80 characters, as Debian's control files want them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Tessaro watches the clipboard of the X11 display. Every time another program"
  "copies something, it lists the clipboard formats, shows the text or picture"
  "and adds a row to its history. Actions switched on in its window change what"
  "was copied: search and replace (also with regular expressions), text put in"
  "front and behind, cutting and resizing pictures, and saving texts and"
  "pictures to files in many formats. Changed content goes back on the"
  "clipboard, ready to paste.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Folders made by the installation get the usual permissions whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TESSARO_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The help pages open in the desktop's browser through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
