# Installing Skyrel, and the Debian package made from the same install rules.
#   cmake --install build [--prefix DIR]     (make install)
#   cmake --build build --target package     (make package: build/skyrel_<version>_<arch>.deb)
# The three programs and their Hamlib module, a desktop entry, the icon in the hicolor theme, AppStream
# metadata, a manual page per program and a systemd user unit for the headless station. Tests and
# benchmarks are never installed.
include(GNUInstallDirs)

set(SKYREL_PACKAGE_NAME skyrel)
set(SKYREL_MAINTAINER "Skyrel developers <dev@skyrel.invalid>")
# The AppStream component id, reverse-DNS by rule; the project owns no domain, so it stays under the
# reserved top-level domain "invalid", as the maintainer address does.
set(SKYREL_APPSTREAM_ID invalid.skyrel.skyrel)
set(SKYREL_ICON_SIZES 16 32 48 64 128 256)
set(SKYREL_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/${SKYREL_PACKAGE_NAME})
# User units below the prefix, where systemd looks for them: /usr/lib/systemd/user, /usr/local/lib/...
set(SKYREL_USER_UNIT_DIR lib/systemd/user)

set(PACKAGING_SOURCE_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(PACKAGING_BINARY_DIR ${CMAKE_BINARY_DIR}/packaging)

# Every folder the install makes is rwxr-xr-x, whatever the umask of the one who builds.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS skyrel skyrel-ephem skyrel-dde RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The desktop program is started by skyrel, never by the user: it stays out of the command path.
install(TARGETS skyrel-desktop RUNTIME DESTINATION ${SKYREL_PROGRAM_DIR})
# The Hamlib module is the programs' own, loaded by path: it stays out of the library path. A shared object
# is not executable.
install(TARGETS skyrel-hamlib LIBRARY DESTINATION ${SKYREL_MODULE_DIR}
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

install(FILES ${PACKAGING_SOURCE_DIR}/skyrel.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${PACKAGING_SOURCE_DIR}/skyrel.service DESTINATION ${SKYREL_USER_UNIT_DIR})

# Dates in the package come from SOURCE_DATE_EPOCH when it is set, so that a rebuild gives the same files.
string(TIMESTAMP SKYREL_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP SKYREL_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${PACKAGING_SOURCE_DIR}/skyrel.metainfo.xml.in
               ${PACKAGING_BINARY_DIR}/${SKYREL_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${PACKAGING_BINARY_DIR}/${SKYREL_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)

# The icon at each size, made from the program icon at build time.
add_executable(skyrel-icon-sizes ${PACKAGING_SOURCE_DIR}/icon-sizes.cpp)
target_link_libraries(skyrel-icon-sizes PRIVATE Qt6::Gui)
set_target_properties(skyrel-icon-sizes PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PACKAGING_BINARY_DIR})
set(icon_files)
foreach(size ${SKYREL_ICON_SIZES})
  list(APPEND icon_files ${PACKAGING_BINARY_DIR}/icons/${size}x${size}/apps/skyrel.png)
endforeach()
add_custom_command(
  OUTPUT ${icon_files}
  COMMAND skyrel-icon-sizes ${CMAKE_SOURCE_DIR}/assets/skyrel-icon.png ${PACKAGING_BINARY_DIR}/icons
          ${SKYREL_ICON_SIZES}
  DEPENDS skyrel-icon-sizes ${CMAKE_SOURCE_DIR}/assets/skyrel-icon.png
  COMMENT "Making the desktop icons"
  VERBATIM)
install(DIRECTORY ${PACKAGING_BINARY_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor)

# Manual pages and the changelog are installed compressed, as Debian's policy wants them; gzip -n keeps
# the name and time of the source out of the archive.
set(compressed_files)
function(skyrel_compressed source name)
  set(copy ${PACKAGING_BINARY_DIR}/compressed/${name})
  add_custom_command(
    OUTPUT ${copy}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
    COMMAND gzip -9nf ${copy}
    DEPENDS ${source}
    VERBATIM)
  set(compressed_files ${compressed_files} ${copy}.gz PARENT_SCOPE)
endfunction()
foreach(program skyrel skyrel-ephem skyrel-dde)
  skyrel_compressed(${PACKAGING_SOURCE_DIR}/man/${program}.1 ${program}.1)
  install(FILES ${PACKAGING_BINARY_DIR}/compressed/${program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
configure_file(${PACKAGING_SOURCE_DIR}/changelog.in ${PACKAGING_BINARY_DIR}/changelog @ONLY)
skyrel_compressed(${PACKAGING_BINARY_DIR}/changelog changelog)
install(FILES ${PACKAGING_BINARY_DIR}/compressed/changelog.gz ${PACKAGING_SOURCE_DIR}/copyright
        DESTINATION ${SKYREL_DOC_DIR})

add_custom_target(skyrel-install-files ALL DEPENDS ${icon_files} ${compressed_files})

# The Debian package. Its library dependencies are found by dpkg-shlibdeps from the programs themselves.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${SKYREL_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${SKYREL_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Sun and Moon tracker for EME radio stations")
# The extended description: lines of at most 80 characters, paragraphs apart.
set(CPACK_PACKAGE_DESCRIPTION [=[
Skyrel points a steerable dish at the Sun or the Moon, above all for
Earth-Moon-Earth (EME) work. Once a second it computes both bodies'
topocentric positions with refraction, their distances, the Moon's
elongation and phase, and the EME figures: range rate, echo Doppler on the
EME bands, path loss against perigee and echo delay. While tracking it
sends the pointing once a second to an antenna controller on a serial port,
or publishes it on a local endpoint that station-control programs read and
command.

The package holds the desktop program, a systemd user unit that runs it
without windows on a station computer, skyrel-dde to drive a running
tracker from scripts, and skyrel-ephem, which prints the tracker's figures
from the command line.]=])
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The programs' windows are drawn in Liberation Sans; without it the toolkit picks another font.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation2)
include(CPack)

# The package test builds the package from the installed build and checks what it holds.
if(SKYREL_BUILD_TESTS)
  add_test(NAME package
           COMMAND ${PACKAGING_SOURCE_DIR}/check-package.sh ${CMAKE_BINARY_DIR} ${PACKAGING_BINARY_DIR}/check
                   ${PROJECT_VERSION} ${SKYREL_APPSTREAM_ID} ${SKYREL_MODULE_DIR}/$<TARGET_FILE_NAME:skyrel-hamlib>)
  # Labelled so that the second run of the suite, under another locale, can leave it out.
  set_tests_properties(package PROPERTIES TIMEOUT 600 LABELS package ENVIRONMENT CPACK=${CMAKE_CPACK_COMMAND})
endif()
