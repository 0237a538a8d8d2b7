# Install rules and the Debian package.
#   cmake --install build/release --prefix ~/.local     a user's own copy
#   cd build/release && cpack -G DEB                     the package (dev/package)
include(GNUInstallDirs)

set(HALVORN_PACKAGE_MAINTAINER "The Halvorn developers <halvorn@example.org>"
  CACHE STRING "Maintainer named in the Debian package")

install(TARGETS voltrane voltraned voltrane-reg RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES dist/voltrane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES dist/icons/voltrane.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The unit names voltraned where it is installed, which only the install step knows
# (`--prefix` and CPack choose it then).
install(CODE "
  set(HALVORN_BINDIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  configure_file(\"${PROJECT_SOURCE_DIR}/dist/voltraned.service.in\"
    \"${PROJECT_BINARY_DIR}/dist/voltraned.service\" @ONLY)
")
install(FILES ${PROJECT_BINARY_DIR}/dist/voltraned.service DESTINATION ${CMAKE_INSTALL_DATADIR}/systemd/user)

# Manual pages and the package's changelog, compressed as Debian wants them.
configure_file(dist/debian/changelog.in ${PROJECT_BINARY_DIR}/dist/changelog.Debian @ONLY)
set(halvorn_gzipped)
foreach(source IN ITEMS dist/man/voltrane.1 dist/man/voltraned.1 dist/man/voltrane-reg.1
    ${PROJECT_BINARY_DIR}/dist/changelog.Debian)
  get_filename_component(name ${source} NAME)
  set(target ${PROJECT_BINARY_DIR}/dist/${name}.gz)
  get_filename_component(absolute ${source} ABSOLUTE BASE_DIR ${PROJECT_SOURCE_DIR})
  add_custom_command(OUTPUT ${target}
    COMMAND gzip -9nc ${absolute} > ${target}
    DEPENDS ${absolute} VERBATIM)
  list(APPEND halvorn_gzipped ${target})
endforeach()
add_custom_target(halvorn_dist_files ALL DEPENDS ${halvorn_gzipped})
install(FILES ${PROJECT_BINARY_DIR}/dist/voltrane.1.gz ${PROJECT_BINARY_DIR}/dist/voltraned.1.gz
  ${PROJECT_BINARY_DIR}/dist/voltrane-reg.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES dist/debian/copyright ${PROJECT_BINARY_DIR}/dist/changelog.Debian.gz
  DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME halvorn)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${HALVORN_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "resident job scheduler for Linux desktops")
set(CPACK_PACKAGE_DESCRIPTION "Halvorn runs named jobs on their schedules: programs, file
activities, e-mails and system activities, and keeps an activity log. voltrane is
the desktop program, voltraned the same scheduler without a window (with a systemd
user unit), voltrane-reg the tool that edits the registry file of jobs and settings.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# What the shared libraries do not reveal: the Qt platform plugins, the SVG icon engine,
# xdg-email for the compose window and the services database for the SMTP port.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, xdg-utils, netbase")
include(CPack)
