# cmake --install: the library, its header and the converter, with a package
# configuration so that other projects can find_package(Vorlane) and link
# Vorlane::Vorlane.
include(CMakePackageConfigHelpers)

set(VORLANE_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Vorlane)

install(TARGETS Vorlane EXPORT VorlaneTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES include/Vorlane.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
if(TARGET vorlane)
  install(TARGETS vorlane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(EXPORT VorlaneTargets NAMESPACE Vorlane:: DESTINATION ${VORLANE_PACKAGE_DIR})
configure_package_config_file(cmake/VorlaneConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/VorlaneConfig.cmake
  INSTALL_DESTINATION ${VORLANE_PACKAGE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/VorlaneConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${CMAKE_CURRENT_BINARY_DIR}/VorlaneConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/VorlaneConfigVersion.cmake
  DESTINATION ${VORLANE_PACKAGE_DIR})
