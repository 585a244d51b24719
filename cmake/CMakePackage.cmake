# The CMake package other projects find with find_package(Revtally): RevtallyConfig.cmake and its
# version file, installed beside the program in the folder CMake searches for each layout.
#   Linux prefix or .deb:  PREFIX/lib/cmake/Revtally/, the program in PREFIX/bin/revtally
#   Windows ZIP:           cmake/, the program Revtally.exe one folder up
# The package finds the program relative to itself, so either can be moved as a whole.
include(CMakePackageConfigHelpers)
include(GNUInstallDirs)

if(WIN32)
  set(REVTALLY_PACKAGE_DIR cmake)
  set(REVTALLY_PROGRAM Revtally.exe)
else()
  set(REVTALLY_PACKAGE_DIR lib/cmake/Revtally)
  set(REVTALLY_PROGRAM ${CMAKE_INSTALL_BINDIR}/revtally)
endif()

configure_package_config_file(cmake/RevtallyConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/config/RevtallyConfig.cmake
  INSTALL_DESTINATION ${REVTALLY_PACKAGE_DIR}
  PATH_VARS REVTALLY_PROGRAM)
# The program runs on the build machine, whatever the project builds for: a 64-bit revtally
# serves a 32-bit project's build as well.
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/config/RevtallyConfigVersion.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion
  ARCH_INDEPENDENT)
install(FILES
  ${CMAKE_CURRENT_BINARY_DIR}/config/RevtallyConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/config/RevtallyConfigVersion.cmake
  DESTINATION ${REVTALLY_PACKAGE_DIR})
