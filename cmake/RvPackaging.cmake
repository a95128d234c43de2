# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The RV patient client developers
#
# Installation and the Debian package: both programs, the desktop entry, the icon, the AppStream
# metainfo, and the service's systemd unit with its environment file. The programs load nothing
# from files at run time (the pictures are compiled-in Qt resources), so nothing else goes with
# them, and nothing installed points back into the source or build tree.
include(GNUInstallDirs)

set(RV_HOMEPAGE_URL "https://rvpatient.org/" CACHE STRING "The project's home page")
set(RV_SCREENSHOT_URL "https://rvpatient.org/docs/screenshots" CACHE STRING
    "Where the repository's docs/screenshots folder is published; the metainfo names its pictures there")
set(RV_SYSTEMD_UNIT_DIR "lib/systemd/system" CACHE STRING
    "Folder of the service's systemd unit, below the prefix unless absolute")
set(RV_PACKAGE_MAINTAINER "RV patient client developers <maintainers@rvpatient.org>"
    CACHE STRING "Maintainer named in the Debian package")

if(IS_ABSOLUTE ${RV_SYSTEMD_UNIT_DIR})
  set(RV_SYSTEMD_UNIT_FULL_DIR ${RV_SYSTEMD_UNIT_DIR})
else()
  set(RV_SYSTEMD_UNIT_FULL_DIR ${CMAKE_INSTALL_PREFIX}/${RV_SYSTEMD_UNIT_DIR})
endif()
set(rv_pkg ${PROJECT_SOURCE_DIR}/packaging)
set(rv_gen ${PROJECT_BINARY_DIR}/packaging)
set(RV_SERVICE_ENVIRONMENT_FILE ${CMAKE_INSTALL_FULL_SYSCONFDIR}/default/rv-service)

install(TARGETS rv-patient rv-service RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Desktop entry and metainfo, named by the application's id.
configure_file(${rv_pkg}/rv-patient.desktop.in ${rv_gen}/${RV_APP_ID}.desktop @ONLY)
install(FILES ${rv_gen}/${RV_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The metainfo lists the pictures of docs/screenshots that scripts/screenshots.sh makes.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${rv_pkg}/screenshots.tsv)
file(STRINGS ${rv_pkg}/screenshots.tsv rv_screenshots REGEX "^[^#]")
set(RV_METAINFO_SCREENSHOTS "")
set(rv_kind " type=\"default\"")
foreach(row IN LISTS rv_screenshots)
  string(REPLACE "\t" ";" fields "${row}")
  list(GET fields 0 file)
  list(GET fields 3 caption)
  if(NOT EXISTS ${PROJECT_SOURCE_DIR}/docs/screenshots/${file})
    message(FATAL_ERROR "docs/screenshots/${file} is missing: run scripts/screenshots.sh")
  endif()
  string(APPEND RV_METAINFO_SCREENSHOTS "    <screenshot${rv_kind}>\n"
         "      <caption>${caption}</caption>\n"
         "      <image>${RV_SCREENSHOT_URL}/${file}</image>\n    </screenshot>\n")
  set(rv_kind "")
endforeach()
string(REGEX REPLACE "\n$" "" RV_METAINFO_SCREENSHOTS "${RV_METAINFO_SCREENSHOTS}")
file(READ ${rv_pkg}/rv-patient.metainfo.xml.in rv_metainfo)
if(NOT rv_metainfo MATCHES "<release version=\"${PROJECT_VERSION}\"")
  message(FATAL_ERROR "packaging/rv-patient.metainfo.xml.in has no release ${PROJECT_VERSION}")
endif()
configure_file(${rv_pkg}/rv-patient.metainfo.xml.in ${rv_gen}/${RV_APP_ID}.metainfo.xml @ONLY)
install(FILES ${rv_gen}/${RV_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icon: the drawing itself, and pictures at the sizes menus and docks ask for most.
set(rv_icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${rv_pkg}/icons/rv-patient.svg DESTINATION ${rv_icons}/scalable/apps
        RENAME ${RV_APP_ID}.svg)
find_program(RV_RSVG_CONVERT rsvg-convert)
if(RV_RSVG_CONVERT)
  set(rv_pngs)
  foreach(size 48 128 256)
    set(png ${rv_gen}/icons/${size}/${RV_APP_ID}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${rv_gen}/icons/${size}
      COMMAND ${RV_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${rv_pkg}/icons/rv-patient.svg
      DEPENDS ${rv_pkg}/icons/rv-patient.svg VERBATIM)
    install(FILES ${png} DESTINATION ${rv_icons}/${size}x${size}/apps)
    list(APPEND rv_pngs ${png})
  endforeach()
  add_custom_target(rv_icons ALL DEPENDS ${rv_pngs})
else()
  message(WARNING "rsvg-convert (librsvg2-bin) not found: only the scalable icon is installed")
endif()

# Manual pages made from the programs' own --help and --version, so that they never drift.
find_program(RV_HELP2MAN help2man)
if(RV_HELP2MAN)
  set(rv_pages)
  set(rv_programs rv-patient rv-service)
  set(rv_purposes "book hospital appointments" "stand-in hospital appointment booking service")
  foreach(program purpose IN ZIP_LISTS rv_programs rv_purposes)
    set(page ${rv_gen}/${program}.1)
    add_custom_command(OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
              ${RV_HELP2MAN} --no-info --section=1 --name=${purpose} --output=${page} $<TARGET_FILE:${program}>
      COMMAND gzip -9 -n -f ${page}
      DEPENDS ${program} VERBATIM)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    list(APPEND rv_pages ${page}.gz)
  endforeach()
  add_custom_target(rv_manpages ALL DEPENDS ${rv_pages})
else()
  message(WARNING "help2man not found: the manual pages are not installed")
endif()

# The booking service as a system service, with its settings in an environment file.
configure_file(${rv_pkg}/rv-service.service.in ${rv_gen}/rv-service.service @ONLY)
install(FILES ${rv_gen}/rv-service.service DESTINATION ${RV_SYSTEMD_UNIT_DIR})
install(FILES ${rv_pkg}/rv-service.default DESTINATION ${CMAKE_INSTALL_FULL_SYSCONFDIR}/default
        RENAME rv-service)

# What Debian asks of every package's documentation folder.
file(READ ${rv_pkg}/debian/changelog rv_changelog LIMIT 200)
if(NOT rv_changelog MATCHES "^rv-patient \\(${PROJECT_VERSION}\\)")
  message(FATAL_ERROR "packaging/debian/changelog does not start with ${PROJECT_VERSION}")
endif()
add_custom_command(OUTPUT ${rv_gen}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${rv_pkg}/debian/changelog ${rv_gen}/changelog
  COMMAND gzip -9 -n -f ${rv_gen}/changelog
  DEPENDS ${rv_pkg}/debian/changelog VERBATIM)
add_custom_target(rv_changelog ALL DEPENDS ${rv_gen}/changelog.gz)
install(FILES ${rv_pkg}/debian/copyright ${rv_gen}/changelog.gz ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# cpack -G DEB from a Release build.
file(WRITE ${rv_gen}/conffiles "${RV_SERVICE_ENVIRONMENT_FILE}\n")
set(CPACK_PACKAGE_NAME rv-patient)
set(CPACK_PACKAGE_VENDOR "The RV patient client developers")
set(CPACK_PACKAGE_CONTACT "${RV_PACKAGE_MAINTAINER}")
# The configured files name the prefix (the unit's program, its environment file): the package
# is built for the prefix the build was configured with, which for Debian is /usr.
if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  message(STATUS "Debian package: configure with -DCMAKE_INSTALL_PREFIX=/usr")
endif()
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${RV_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${RV_HOMEPAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What is loaded at run time rather than linked: Qt's SQLite driver, a font with the Chinese
# texts, libcurl and libcrypto, which the client may open on first use instead of linking, and
# libsecret, which QtKeychain opens to reach the desktop's keyring.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-sqlite, fonts-wqy-microhei | fonts-noto-cjk, libcurl4, libssl3, libsecret-1-0")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "hospital appointment booking client and stand-in booking service
rv-patient is the patient side of a hospital appointment service: look up
hospitals, departments and doctors, see a doctor's schedule for two weeks,
book a time slot, and list or cancel bookings.

rv-service is a compact stand-in for the booking service, with demo data,
installed as the systemd unit rv-service.service (not enabled; it listens on
loopback unless /etc/default/rv-service says otherwise).")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${rv_pkg}/debian/postinst ${rv_pkg}/debian/prerm ${rv_pkg}/debian/postrm ${rv_gen}/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
