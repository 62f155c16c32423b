# The Debian package: `cpack -G DEB` in a build directory, after building.
# It holds everything `cmake --install` installs, under /usr, and the
# copyright and changelog files of a Debian package; lintian finds no error
# or warning in it (scripts/check_install.sh). The Release build compiles
# with Debian's hardening flags (PELMORA_HARDENING). Run-time
# dependencies on shared libraries (Qt 6 Widgets, Gui, Core, Svg, the C++
# library) are read from the programs by dpkg-shlibdeps; what the programs
# load as plug-ins is named here: the SVG image and icon-engine plug-ins
# (libqt6svg6) draw every icon, and a window needs a platform plug-in.

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "pelmora")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "${PELMORA_AUTHORS}")
set(CPACK_PACKAGE_CONTACT "${PELMORA_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop argument assistant for Korvel theories")
set(CPACK_PACKAGE_DESCRIPTION
  "Pelmora lets you draw an argument as a diagram of statements, supporting and
attacking reasons, conditionals, assumptions and issues, and shows after every
change which statements are justified, defeated or open in each dialectical
interpretation. The command korvel gives the same core to scripts.")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

# A Debian revision of its own: the package is built from the upstream
# version, so its changelog is changelog.Debian.gz.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(PELMORA_DEBIAN_VERSION "${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "science")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
if(PELMORA_BUILD_GUI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, qt6-qpa-plugins")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")
endif()
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")

# What Debian's policy asks of every package: a machine-readable copyright
# and a changelog, put into the documentation folder by cpack only.
set(CPACK_PELMORA_DEBIAN_DOCUMENTS "${PROJECT_BINARY_DIR}/debian")
configure_file(${PROJECT_SOURCE_DIR}/resources/debian/copyright.in
  ${CPACK_PELMORA_DEBIAN_DOCUMENTS}/copyright @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/resources/debian/changelog.in
  ${CPACK_PELMORA_DEBIAN_DOCUMENTS}/changelog.Debian @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/resources/debian/lintian-overrides
  ${CPACK_PELMORA_DEBIAN_DOCUMENTS}/lintian-overrides COPYONLY)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebianDocuments.cmake)

include(CPack)

# `cmake --build BUILD --target uninstall` removes what `cmake --install`
# put under CMAKE_INSTALL_PREFIX, as listed in BUILD/install_manifest.txt.
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DMANIFEST=${PROJECT_BINARY_DIR}/install_manifest.txt
          -DPREFIX=${CMAKE_INSTALL_PREFIX} -P ${CMAKE_CURRENT_LIST_DIR}/Uninstall.cmake
  COMMENT "Removing the installed files listed in install_manifest.txt"
  VERBATIM)
