# The Debian package built by scripts/package.sh: the window program, the
# command-line converter with its manual page, the menu entry and the icons.
# Its run-time dependencies are read from the binaries by dpkg-shlibdeps.
include(GNUInstallDirs)

install(TARGETS talmeko-convert RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")

# Debian keeps manual pages compressed; -n leaves the time out, so the same
# page always gives the same bytes.
set(TALMEKO_MANUAL "${CMAKE_BINARY_DIR}/talmeko-convert.1.gz")
add_custom_command(
  OUTPUT "${TALMEKO_MANUAL}"
  COMMAND gzip -9 -n -c "${TALMEKO_ROOT}/src/convert/talmeko-convert.1" > "${TALMEKO_MANUAL}"
  DEPENDS "${TALMEKO_ROOT}/src/convert/talmeko-convert.1"
  COMMENT "Compressing the manual page of talmeko-convert")
add_custom_target(talmeko_manual ALL DEPENDS "${TALMEKO_MANUAL}")
install(FILES "${TALMEKO_MANUAL}" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME talmeko)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "Talmeko developers <talmeko@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "conversion table for stranded embroidery floss colours")
# The first line of the Description field is the summary; CPack indents the
# lines of this text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Talmeko shows the equivalent colour numbers of several floss brands side by
side with colour swatches, found through a correspondence chart or by the
nearest RGB colour. Colour lists can be saved, loaded and printed. The
interface is Russian. talmeko-convert does the same from a terminal.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Neither is linked, so shlibdeps cannot see them: the window-system plugin
# that shows the window on a desktop, and the fonts that stand in for Arial,
# Times New Roman and Courier New.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2")
include(CPack)
