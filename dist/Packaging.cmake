# `cpack -G DEB` in a tree configured with CMAKE_INSTALL_PREFIX=/usr builds ombrel_<version>_amd64.deb
# (scripts/build-deb does exactly that and runs lintian on it).
set(CPACK_PACKAGE_NAME ombrel)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "Ombrel developers <ombrel@users.noreply.github.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/ombrel/ombrel")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# udev applies the rule; dbus-send lets `ombrelctl doctor` ask the session bus for the tray.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "udev, dbus-bin, qt6-translations-l10n")
# The service libraries sit in a private folder; dpkg-shlibdeps finds their users' dependencies all the same.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "${CMAKE_INSTALL_PREFIX}/${OMBREL_LIBDIR_REL}")
# The synopsis is the project's description; these lines follow it.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Ombrel sets up what each key does in each of the keyboard's three profiles,
macros, lighting effects and the colour of every key. It lives in the
desktop's tray; ombrelctl does the same from the command line and scripts.
A built-in keyboard emulator lets you try everything without the keyboard.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    "${CMAKE_CURRENT_LIST_DIR}/debian/postinst;${CMAKE_CURRENT_LIST_DIR}/debian/postrm;${CMAKE_CURRENT_LIST_DIR}/debian/conffiles")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
