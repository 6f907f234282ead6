# Installation and the Debian package, included from the top-level
# CMakeLists.txt after every program target is defined.
#
#   cmake --install BUILD [--prefix DIR]    programs, desktop entry, icons,
#                                           metainfo, manual pages, samples
#   cpack --config BUILD/CPackConfig.cmake  veltra_<version>_<arch>.deb
#
# A sanitizer build is only ever tested, never installed: it gets no rules.
if(NOT VELTRA_SANITIZE STREQUAL "")
  return()
endif()

include(GNUInstallDirs)

set(VELTRA_APP_ID org.veltra.Veltra)
# The project has no public web site yet: with the home page unset, the
# package and the software-centre description name none (and so show no
# screenshot, which must be fetched from it) rather than a made-up one.
set(VELTRA_HOMEPAGE "" CACHE STRING
    "Home page (ending in /) named in the package and the software-centre description")
set(VELTRA_MAINTAINER "The VELTRA developers <veltra@example.org>" CACHE STRING
    "Maintainer field of the Debian package")

set(packaging_src ${PROJECT_SOURCE_DIR}/packaging)
set(packaging_out ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${packaging_out}/man ${packaging_out}/icons)

# --- Programs -----------------------------------------------------------
# The tools and their one-line descriptions (the NAME line of each manual
# page). A tool whose target this configuration does not build is skipped.
set(veltra_tool_names
  "veltra-export|render the frames of a TARVEK result folder without a display"
  "veltra-info|describe what a TARVEK result folder holds"
  "veltra-plot|plot the displacement of one node of a TARVEK result against time"
  "veltra-sample|write sample TARVEK result folders"
  "veltra-explorer|play, scrub, zoom into and pick the response of a TARVEK result folder")

set(veltra_programs)
if(TARGET veltra)
  list(APPEND veltra_programs veltra)
endif()
set(veltra_tools)
foreach(entry IN LISTS veltra_tool_names)
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 tool)
  if(TARGET ${tool})
    list(APPEND veltra_programs ${tool})
    list(APPEND veltra_tools "${tool}")
  endif()
endforeach()
install(TARGETS ${veltra_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (the package's) also drops the sections strip keeps by
# default and nothing reads: the compilers' .comment and the .note section,
# as Debian's own packages are stripped (dh_strip).
foreach(program IN LISTS veltra_programs)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\"
                      COMMAND_ERROR_IS_FATAL ANY)
    endif()")
endforeach()

# The movie writer the programs load when they make a movie, where they look
# for it: VELTRA_MODULE_DIR beside bin/. It is stripped as the programs are.
if(TARGET veltra_movie_writer)
  install(TARGETS veltra_movie_writer LIBRARY DESTINATION ${VELTRA_MODULE_DIR})
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${VELTRA_MODULE_DIR}/veltra-movie.so\"
                      COMMAND_ERROR_IS_FATAL ANY)
    endif()")
endif()

# --- Manual pages ---------------------------------------------------------
# The viewer's page is written by hand. The tools' pages are made from their
# own --help at build time, so they list exactly the options the programs
# accept; packaging/man/<tool>.h2m adds examples and cross references.
set(man_pages)
if(TARGET veltra)
  set(page ${packaging_out}/man/veltra.1.gz)
  add_custom_command(OUTPUT ${page}
    COMMAND gzip -9n -c ${packaging_src}/man/veltra.1 > ${page}
    DEPENDS ${packaging_src}/man/veltra.1
    COMMENT "Compressing the manual page of veltra")
  list(APPEND man_pages ${page})
endif()

find_program(HELP2MAN help2man)
if(veltra_tools AND NOT HELP2MAN)
  message(WARNING "help2man not found: the tools are installed without manual pages")
endif()
foreach(entry IN LISTS veltra_tool_names)
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 tool)
  list(GET entry 1 summary)
  if(NOT TARGET ${tool} OR NOT HELP2MAN)
    continue()
  endif()
  set(page ${packaging_out}/man/${tool}.1)
  set(include_file ${packaging_src}/man/${tool}.h2m)
  # The Qt tools may open an offscreen application before they parse.
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            ${HELP2MAN} --no-info --section=1 --version-string=${PROJECT_VERSION}
                        "--name=${summary}" --include=${include_file}
                        --output=${page} $<TARGET_FILE:${tool}>
    # The exit statuses of --help become the page's EXIT STATUS section.
    COMMAND sed -i "s/^\\.SS \"Exit status:\"$/.SH \"EXIT STATUS\"/" ${page}
    COMMAND gzip -9nf ${page}
    DEPENDS ${tool} ${include_file}
    COMMENT "Writing the manual page of ${tool}"
    VERBATIM)
  list(APPEND man_pages ${page}.gz)
endforeach()
add_custom_target(veltra_man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# --- Desktop entry, icons, software-centre description -------------------
if(TARGET veltra)
  install(FILES ${packaging_src}/${VELTRA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

  set(VELTRA_PROVIDES_BINARIES "")
  foreach(program IN LISTS veltra_programs)
    string(APPEND VELTRA_PROVIDES_BINARIES "    <binary>${program}</binary>\n")
  endforeach()
  string(STRIP "${VELTRA_PROVIDES_BINARIES}" VELTRA_PROVIDES_BINARIES)
  set(VELTRA_PROVIDES_BINARIES "    ${VELTRA_PROVIDES_BINARIES}")
  set(VELTRA_HOMEPAGE_ELEMENTS "")
  if(NOT VELTRA_HOMEPAGE STREQUAL "")
    string(CONCAT VELTRA_HOMEPAGE_ELEMENTS
      "  <url type=\"homepage\">${VELTRA_HOMEPAGE}</url>\n"
      "  <screenshots>\n"
      "    <screenshot type=\"default\">\n"
      "      <caption>A portal frame swaying under its load</caption>\n"
      "      <image>${VELTRA_HOMEPAGE}docs/screenshot.png</image>\n"
      "    </screenshot>\n"
      "  </screenshots>")
  endif()
  configure_file(${packaging_src}/${VELTRA_APP_ID}.metainfo.xml.in
                 ${packaging_out}/${VELTRA_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${packaging_out}/${VELTRA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  set(veltra_icon_ids ${VELTRA_APP_ID})
  if(TARGET veltra-explorer)
    # The Explorer's own menu entry and icon, and the file type of TARVEK
    # result files, which the entry opens.
    set(VELTRA_EXPLORER_ID org.veltra.Explorer)
    install(FILES ${packaging_src}/${VELTRA_EXPLORER_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${packaging_src}/${VELTRA_EXPLORER_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
            RENAME ${VELTRA_EXPLORER_ID}.xml)
    list(APPEND veltra_icon_ids ${VELTRA_EXPLORER_ID})
  endif()
  foreach(icon_id IN LISTS veltra_icon_ids)
    install(FILES ${packaging_src}/icons/${icon_id}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  endforeach()
  # Bitmap sizes for desktops and menus that do not scale SVG, rendered from
  # the one drawing.
  find_program(RSVG_CONVERT rsvg-convert)
  if(RSVG_CONVERT)
    set(icon_pngs)
    foreach(icon_id IN LISTS veltra_icon_ids)
      set(icon_svg ${packaging_src}/icons/${icon_id}.svg)
      foreach(size 16 32 48 64 128 256)
        set(png ${packaging_out}/icons/${size}x${size}/${icon_id}.png)
        add_custom_command(OUTPUT ${png}
          COMMAND ${CMAKE_COMMAND} -E make_directory ${packaging_out}/icons/${size}x${size}
          COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${icon_svg}
          DEPENDS ${icon_svg}
          VERBATIM)
        list(APPEND icon_pngs ${png})
        install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
      endforeach()
    endforeach()
    add_custom_target(veltra_icons ALL DEPENDS ${icon_pngs})
  else()
    message(WARNING "rsvg-convert not found: the icon is installed as SVG only")
  endif()
endif()

# --- Sample problems ---------------------------------------------------------
# The three small samples veltra-sample writes into the build's work folder.
# Their comdin.dat names the input, listing and excitation files by absolute
# paths into the build tree; the installed copies name them by bare file
# name instead, which the loader looks up in the problem's own folder, so the
# installed samples keep their titles wherever they are installed.
if(TARGET veltra_sample_work)
  set(samples_dest ${CMAKE_INSTALL_DATADIR}/veltra/samples)
  foreach(kind portal space cantilever)
    install(DIRECTORY ${CMAKE_BINARY_DIR}/work/${kind} DESTINATION ${samples_dest})
    install(CODE "
      set(comdin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${samples_dest}/${kind}/comdin.dat\")
      file(READ \"\${comdin}\" text)
      string(REPLACE \"${CMAKE_BINARY_DIR}/work/${kind}/\" \"\" text \"\${text}\")
      file(WRITE \"\${comdin}\" \"\${text}\")")
  endforeach()
endif()

install(FILES ${packaging_src}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
# A native package's changelog: packaging/changelog, in Debian's format, its
# newest entry the version of the project (the package test checks both).
set(changelog ${packaging_out}/changelog.gz)
add_custom_command(OUTPUT ${changelog}
  COMMAND gzip -9n -c ${packaging_src}/changelog > ${changelog}
  DEPENDS ${packaging_src}/changelog
  COMMENT "Compressing the changelog")
add_custom_target(veltra_changelog ALL DEPENDS ${changelog})
install(FILES ${changelog} DESTINATION ${CMAKE_INSTALL_DOCDIR})

# --- Debian package -----------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veltra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The VELTRA developers")
set(CPACK_PACKAGE_CONTACT "${VELTRA_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "animated viewer of TARVEK structural-dynamics results")
# CPack puts the summary above this longer text in the Description field.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "VELTRA reads the result folder that the analysis program TARVEK leaves
behind and animates the structure: every node moves by its magnified
displacement, step after step, in up to ten graph windows side by side.
VELTRA Explorer shows the same pictures with a time slider, playback, zoom,
pan and orbit, and picks nodes and elements for their state and history.
Command-line tools describe a result folder, render its frames without a
display and write sample problems; manual pages and three sample problems
come with it.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
if(NOT VELTRA_HOMEPAGE STREQUAL "")
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VELTRA_HOMEPAGE}")
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Depends is computed from the libraries the installed programs link
# (dpkg-shlibdeps), so it follows the build machine's Qt and C++ runtime.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its platform plugins at run time, so dpkg-shlibdeps does not see
# them, and Qt's own packages only recommend qt6-qpa-plugins: the viewer
# depends on it, so that an install without recommendations still opens a
# window, and recommends Wayland's plugin for Wayland sessions.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The font option parser maps the graph fonts onto the Liberation faces;
# fontconfig opens them by name at run time, so no binary links them and
# dpkg-shlibdeps cannot find them. Without them another face is substituted.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, qt6-wayland")
include(CPack)
