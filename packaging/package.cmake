# The Debian package, built with CPack from the install rules:
#   scripts/package.sh    (or: cpack -G DEB in a configured build tree)
# gives quorvia_<version>_<arch>.deb. Its Depends are computed by
# dpkg-shlibdeps (packages dpkg-dev and file) from the installed programs and
# libraries, plus what is only loaded at run time. The desktop, MIME and icon
# caches are refreshed by the triggers of the packages that own them, so the
# package has no maintainer scripts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvia)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Veltrano)
set(CPACK_PACKAGE_CONTACT "Veltrano <support@veltrano.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for TNEF files (winmail.dat) and their attachments")
set(CPACK_PACKAGE_DESCRIPTION [=[Outlook and Exchange sometimes wrap a message's formatted text and its
attachments into a single winmail.dat (TNEF) file that other mail programs
cannot open. Quorvia shows the message as it was sent, with its formatting,
pictures and attachments, and saves the attachments. It opens TNEF files
whatever they are called, in seven interface languages.
.
The package also holds tessil, a command-line tool that prints what a TNEF
file holds, as text or JSON, and extracts its attachments, for scripts and
servers.]=])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION mail)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://veltrano.example/quorvia/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The private library lies in the package, not on the system's path: point
# dpkg-shlibdeps at it inside the staging tree so it resolves and is not
# mistaken for a missing dependency.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
    "${CMAKE_BINARY_DIR}/_CPack_Packages/Linux/DEB/quorvia-${PROJECT_VERSION}-Linux${CPACK_PACKAGING_INSTALL_PREFIX}/${QUORVIA_INSTALL_PRIVATE_LIBDIR}")
# Loaded at run time, so dpkg-shlibdeps cannot see them: Qt's SVG image and
# icon plug-ins, without which SVG icon themes show no icons.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, hicolor-icon-theme, breeze-icon-theme | adwaita-icon-theme")

include(CPack)
