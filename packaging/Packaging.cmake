# Install layout and the Debian package. Included at the end of the top-level list, after
# every program target exists.
include(GNUInstallDirs)

set(MEROVAN_HOMEPAGE "https://merovan.example.invalid" CACHE STRING
    "The project's home page: the package's Homepage field and the AppStream URLs")
# Software centres download the screenshot: it must be where this repository's
# packaging/screenshots/main-window.png is served, which the home page need not be.
set(MEROVAN_SCREENSHOT_URL "" CACHE STRING
    "Where packaging/screenshots/main-window.png is served (default: below the home page)")
if(NOT MEROVAN_SCREENSHOT_URL)
  set(MEROVAN_SCREENSHOT_URL "${MEROVAN_HOMEPAGE}/raw/main/packaging/screenshots/main-window.png")
endif()
set(MEROVAN_APP_ID pl.zovi.Merovan)
set(MEROVAN_MAINTAINER "ZOVI Software <merovan@example.invalid>")
set(MEROVAN_PACKAGING ${CMAKE_CURRENT_LIST_DIR})
set(MEROVAN_PACKAGING_BINARY ${CMAKE_BINARY_DIR}/packaging)
set(MEROVAN_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/merovan)

# The changelog and the metadata carry the version too; a release bumped in one place only
# would ship contradicting versions.
file(STRINGS ${MEROVAN_PACKAGING}/changelog CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT CHANGELOG_TOP MATCHES "^merovan \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog does not begin with version ${PROJECT_VERSION}: "
                      "add an entry for it")
endif()
file(READ ${MEROVAN_PACKAGING}/${MEROVAN_APP_ID}.metainfo.xml.in METAINFO)
if(NOT METAINFO MATCHES "<releases>[ \n]*<release version=\"${PROJECT_VERSION}\"")
  message(FATAL_ERROR "packaging/${MEROVAN_APP_ID}.metainfo.xml.in does not list release "
                      "${PROJECT_VERSION} first: add it")
endif()

# Debian wants changelogs and manual pages compressed at maximum, without name or time.
# Files of the same name (a manual page in two languages) are kept apart by where they go.
function(merovan_install_gzipped source destination)
  get_filename_component(name ${source} NAME)
  set(folder ${MEROVAN_PACKAGING_BINARY}/${destination})
  set(output ${folder}/${name}.gz)
  string(MAKE_C_IDENTIFIER "gzip_${destination}_${name}" target)
  add_custom_command(OUTPUT ${output}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
                     COMMAND ${CMAKE_COMMAND} -E copy ${source} ${folder}/${name}
                     COMMAND gzip -9nf ${folder}/${name}
                     DEPENDS ${source} VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${output})
  install(FILES ${output} DESTINATION ${destination})
endfunction()

# A program: its executable, its menu entry packaging/<desktop-id>.desktop and its manual
# pages, English packaging/<target>.1 where Debian looks first and Polish packaging/pl/.
function(merovan_install_program target desktop_id)
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${MEROVAN_PACKAGING}/${desktop_id}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  merovan_install_gzipped(${MEROVAN_PACKAGING}/${target}.1 ${CMAKE_INSTALL_MANDIR}/man1)
  merovan_install_gzipped(${MEROVAN_PACKAGING}/pl/${target}.1 ${CMAKE_INSTALL_MANDIR}/pl/man1)
endfunction()

merovan_install_program(merovan ${MEROVAN_APP_ID})
if(TARGET merovan-kalibracja)
  merovan_install_program(merovan-kalibracja ${MEROVAN_APP_ID}.Kalibracja)
endif()

install(FILES ${MEROVAN_PACKAGING}/icons/${MEROVAN_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${MEROVAN_PACKAGING}/icons/${size}x${size}/${MEROVAN_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

configure_file(${MEROVAN_PACKAGING}/${MEROVAN_APP_ID}.metainfo.xml.in
               ${MEROVAN_PACKAGING_BINARY}/${MEROVAN_APP_ID}.metainfo.xml @ONLY)
install(FILES ${MEROVAN_PACKAGING_BINARY}/${MEROVAN_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

install(FILES ${MEROVAN_PACKAGING}/copyright DESTINATION ${MEROVAN_DOC_DIR})
merovan_install_gzipped(${MEROVAN_PACKAGING}/changelog ${MEROVAN_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME merovan)
set(CPACK_PACKAGE_VENDOR "ZOVI Software")
set(CPACK_PACKAGE_CONTACT ${MEROVAN_MAINTAINER})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "substitute vehicle nameplate printing on aluminium foil")
# Kept in lines Debian's control file can take as they are.
set(CPACK_PACKAGE_DESCRIPTION
"Merovan prints one substitute vehicle nameplate at a time onto a chosen
pre-cut position of an A4 aluminium-foil label sheet with 8 or 10 plates.
It shows a true preview first, remembers the operator's choices and composes
a ready order e-mail for more foil.

Merovan drukuje po jednej zastępczej tabliczce znamionowej pojazdu na
wybranym polu arkusza folii aluminiowej A4 z 8 lub 10 tabliczkami.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${MEROVAN_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${MEROVAN_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so no binary names them: the report's and the windows' fonts, the
# mail program's opener, CUPS behind Qt's printer plugin, and the cursor library Qt's X11
# plugin opens for the desktop's pointer (only a recommended package brings it otherwise).
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-liberation, fonts-liberation2, xdg-utils, libcups2, libxcursor1")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
