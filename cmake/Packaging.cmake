# Installation layout and the Debian package (`cpack -G DEB` in the build folder). Set up
# in every configuration; the man pages are made from the programs' own --help and
# --version by help2man, which needs no display (the window program answers both before it
# loads its window libraries).
include(GNUInstallDirs)
# Debian names the folder after the package, not the project.
set(travik_docdir ${CMAKE_INSTALL_DATADIR}/doc/travik)

install(TARGETS travik-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
set(travik_manual_programs travik-cli)
if(TRAVIK_BUILD_UI)
  # travik-cli hands `plot` to the renderer found beside its own executable.
  install(TARGETS travik travik-plot RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  list(APPEND travik_manual_programs travik)
  set(travik_packaging ${PROJECT_SOURCE_DIR}/packaging)
  install(FILES ${travik_packaging}/travik.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${travik_packaging}/travik-mime.xml RENAME travik.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  install(FILES ${travik_packaging}/travik.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size 48 128 256)
    install(FILES ${travik_packaging}/travik-${size}.png RENAME travik.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
endif()

# Debian keeps a package's licence as /usr/share/doc/<package>/copyright.
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${travik_docdir})
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE RENAME copyright DESTINATION ${travik_docdir})
if(EXISTS ${PROJECT_SOURCE_DIR}/docs/guide.md)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/guide.md DESTINATION ${travik_docdir})
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/guide DESTINATION ${travik_docdir}
          FILES_MATCHING PATTERN "*.png")
endif()

find_program(TRAVIK_HELP2MAN help2man)
find_program(TRAVIK_GZIP gzip)
if(TRAVIK_HELP2MAN AND TRAVIK_GZIP)
  set(travik_summary_travik-cli "time-history and response-spectra reports of strong-motion records")
  set(travik_summary_travik
      "desktop program for strong-motion records, baseline correction and response spectra")
  set(travik_manuals)
  foreach(program IN LISTS travik_manual_programs)
    set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${program}.1)
    add_custom_command(
      OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
      COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
              ${TRAVIK_HELP2MAN} --no-info --no-discard-stderr --section=1
              "--name=${travik_summary_${program}}"
              --output=${page} $<TARGET_FILE:${program}>
      COMMAND ${TRAVIK_GZIP} -9nf ${page}
      DEPENDS ${program}
      COMMENT "Writing the man page of ${program}"
      VERBATIM)
    list(APPEND travik_manuals ${page}.gz)
  endforeach()
  add_custom_target(travik_manuals ALL DEPENDS ${travik_manuals})
  install(FILES ${travik_manuals} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(WARNING "help2man or gzip not found: no man pages (scripts/install-deps installs them)")
endif()

set(CPACK_PACKAGE_NAME travik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The TRAVIK developers")
set(CPACK_PACKAGE_CONTACT "The TRAVIK developers <travik@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Strong-motion records: baseline correction, filtering and elastic response spectra")
set(CPACK_PACKAGE_DESCRIPTION
    "TRAVIK reads strong-motion acceleration records, integrates them to velocity and\n"
    "displacement, corrects baselines, filters, and computes elastic response spectra for\n"
    "several damping values, in a desktop window (travik) or on the command line (travik-cli).")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://travik.example.org")
# Dependencies from the shared libraries the programs actually link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so no linked library names them: the platform plugins that put a Qt
# window on the screen.
if(TRAVIK_BUILD_UI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
endif()
set(CPACK_STRIP_FILES ON)
include(CPack)
