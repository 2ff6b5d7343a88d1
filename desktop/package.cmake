# make package: a Debian package of what make install puts below /usr, built by CPack. Its dependencies are
# worked out by dpkg-shlibdeps from the programs' libraries, not listed here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tazen)
set(CPACK_PACKAGE_VENDOR "The TaZEN developers")
set(CPACK_PACKAGE_CONTACT "The TaZEN developers <tazen@codeberg.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "file encryption for the Linux desktop")
set(CPACK_PACKAGE_DESCRIPTION "TaZEN encrypts files with a password into .TaZEN files beside them, and back,
with the file format of the original Windows program. Sources can be kept,
deleted or shredded, and an encrypted file can be made a self-extracting
program. Includes tazen-cli for terminals and scripts, and Encrypt and
Decrypt with TaZEN in the file manager.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# With DESTDIR staging CPack installs for this prefix rather than the one above.
set(CPACK_INSTALL_PREFIX /usr)
# The install rules write the prefix into the desktop entries, so they must see /usr, not CPack's staging folder.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://codeberg.org/tazen/tazen)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds its platform plugins at run time, so dpkg-shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Help > TaZEN Help opens the help page with xdg-open. Only suggested: a desktop has it, and as a
# recommendation apt would bring a dozen packages (a terminal among them) that a removal leaves behind.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xdg-utils")
# GNOME Files shows the actions through its python extensions; Qt's own translations give the standard
# buttons and dialogs in the window's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "python3-nautilus, qt6-translations-l10n")
# The login step that merges the Thunar actions into each user's own uca.xml (Thunar reads no other file
# once a user has one) is the package's one file in /etc.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/conffiles)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# Read by cpack alone: tells the install rules that they fill a package (no uninstall list, system modes).
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/package-project.cmake)
include(CPack)
