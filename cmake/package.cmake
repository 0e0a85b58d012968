# CPack: a zip for Windows, a Debian package elsewhere, each holding what
# cmake/install.cmake installs. tools/make-release builds both.
set(CPACK_PACKAGE_NAME vorlane)
set(CPACK_PACKAGE_VENDOR "Vorlane maintainers")
set(CPACK_PACKAGE_CONTACT "Vorlane maintainers <maintainers@users.noreply.c-seed-fc1dd8dc.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME vorlane-${PROJECT_VERSION}-win64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  # vorlane_<version>_<architecture>.deb
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION science)
  # The first line is CPACK_PACKAGE_DESCRIPTION_SUMMARY.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "The drawing holds parcels, buildings, soil-valuation (BPEJ) units, map texts
and lines in the layers, line styles and map symbols a CAD application
imports. The package has the converter vorlane, the shared library
libVorlane with its C header Vorlane.h, a CMake package
(find_package(Vorlane)) and a pkg-config file (vorlane).")
  # Depends: computed by dpkg-shlibdeps from the binaries.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)
