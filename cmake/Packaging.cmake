# The native stamping program for Linux users, cross-compiling their Windows projects with
# mingw-w64: installed into a prefix, or packed into a .deb.
#   cmake --preset release && cmake --build --preset release
#   cmake --install build/release --prefix PREFIX    # PREFIX/bin/revtally, PREFIX/share/doc/revtally
#   cpack --preset release                           # build/release/revtally_<version>_<arch>.deb
# The Windows tree makes its release ZIP in CMakeLists.txt.
if(WIN32)
  return()
endif()

include(GNUInstallDirs)
set(REVTALLY_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/revtally)

install(TARGETS revtally RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES README.md LICENSE DESTINATION ${REVTALLY_DOC_DIR})
# The script to try it on (copy it somewhere first: a stamp rewrites it).
install(FILES examples/app.rc examples/resource.h DESTINATION ${REVTALLY_DOC_DIR}/examples)

set(CPACK_GENERATOR DEB)
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME revtally)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Revtally developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Stamps version and build numbers into Windows resource scripts")
set(CPACK_PACKAGE_DESCRIPTION
  "Run as a build step, revtally records the build in a history file beside a resource script\n(.rc), raises its build number by one and writes the new numbers into FILEVERSION,\nPRODUCTVERSION, \"FileVersion\" and \"ProductVersion\".")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Revtally developers")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/revtally/revtally")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
# dpkg-shlibdeps (dpkg-dev) works out the libraries the program needs, with the help of file;
# without them, the C and C++ runtimes any build of it links. A static program needs none.
find_program(REVTALLY_DPKG_SHLIBDEPS dpkg-shlibdeps)
find_program(REVTALLY_FILE file)
if(REVTALLY_STATIC)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "")
elseif(REVTALLY_DPKG_SHLIBDEPS AND REVTALLY_FILE)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1")
endif()
include(CPack)
