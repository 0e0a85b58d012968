# cmake --install, and so the packages' contents.
#
# Elsewhere than on Windows: the library, its header, the converter, a
# package configuration so that other projects can find_package(Vorlane) and
# link Vorlane::Vorlane, a pkg-config file, and the documents.
#
# On Windows, one flat folder for the zip: Vorlane.dll, its import libraries
# for Microsoft's linker (Vorlane.lib) and for MinGW (libVorlane.dll.a),
# Vorlane.def, include/Vorlane.h, the stand-in host and the documents.
if(WIN32)
  install(TARGETS Vorlane RUNTIME DESTINATION . ARCHIVE DESTINATION .)
  install(FILES ${PROJECT_BINARY_DIR}/Vorlane.lib entry/Vorlane.def DESTINATION .)
  install(FILES ${PROJECT_BINARY_DIR}/include/Vorlane.h DESTINATION include)
  install(TARGETS vorlane-host RUNTIME DESTINATION .)
  install(FILES tools/windows_host/README.txt DESTINATION .)
  install(FILES tools/windows_host/load_vorlane.c DESTINATION examples)
  install(FILES LICENSE DESTINATION . RENAME LICENSE.txt)
  install(FILES CHANGELOG.md DESTINATION . RENAME CHANGELOG.txt)
  return()
endif()

include(CMakePackageConfigHelpers)

set(VORLANE_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Vorlane)

install(TARGETS Vorlane EXPORT VorlaneTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_BINARY_DIR}/include/Vorlane.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(TARGETS vorlane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES cli/vorlane.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(EXPORT VorlaneTargets NAMESPACE Vorlane:: DESTINATION ${VORLANE_PACKAGE_DIR})
configure_package_config_file(cmake/VorlaneConfig.cmake.in
  ${PROJECT_BINARY_DIR}/VorlaneConfig.cmake
  INSTALL_DESTINATION ${VORLANE_PACKAGE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/VorlaneConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/VorlaneConfig.cmake
  ${PROJECT_BINARY_DIR}/VorlaneConfigVersion.cmake
  DESTINATION ${VORLANE_PACKAGE_DIR})

# vorlane.pc names the prefix it is installed into, which is known only then:
# /usr for the Debian package (whose system folders pkg-config leaves out),
# or the folder of cmake --install --prefix.
configure_file(cmake/vorlane.pc.in ${PROJECT_BINARY_DIR}/vorlane.pc.in @ONLY)
install(CODE "
  file(READ \"${PROJECT_BINARY_DIR}/vorlane.pc.in\" pc)
  string(REPLACE \"%PREFIX%\" \"\${CMAKE_INSTALL_PREFIX}\" pc \"\${pc}\")
  set(pcfile \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig/vorlane.pc\")
  message(STATUS \"Installing: \${pcfile}\")
  file(WRITE \"\${pcfile}\" \"\${pc}\")
")

# A Debian package keeps its licence as the copyright file.
install(FILES README.md CHANGELOG.md DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/vorlane)
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/vorlane RENAME copyright)
