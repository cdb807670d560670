# What is installed, and the release packages made of it with CPack:
#   Linux:   zeptor-VERSION-Linux-ARCH.deb (make package)
#   Windows: zeptor-VERSION-win64.zip      (make package-windows)

# The one-file page, built by `make web`, goes with the program when it is
# there at install time, which may be after this build was configured;
# without it no folder is made for it.
set(ZEPTOR_WEB_PAGE ${PROJECT_SOURCE_DIR}/build-web/zeptor.html CACHE FILEPATH
    "The page to install beside the program")
function(install_web_page destination)
  install(CODE "
    if(EXISTS \"${ZEPTOR_WEB_PAGE}\")
      file(INSTALL \"${ZEPTOR_WEB_PAGE}\" DESTINATION
           \"\${CMAKE_INSTALL_PREFIX}/${destination}\")
    endif()")
endfunction()

if(WIN32)
  # One folder: the program, its documents and the example beside it. The
  # manual comes as plain text, which only groff renders: a zip without it
  # would have no manual at all.
  install(TARGETS zeptor zeptor-pairs RUNTIME DESTINATION .)
  install(FILES README.md LICENSE examples/survey.prt DESTINATION .)
  install_web_page(.)
  find_program(GROFF groff)
  if(NOT GROFF)
    message(FATAL_ERROR "groff was not found: the Windows build renders the \
manuals (zeptor.txt, zeptor-pairs.txt) with it.
  on Debian or Ubuntu:  sudo apt-get install groff-base")
  endif()
  set(manual_texts "")
  foreach(man_page ${ZEPTOR_MAN_PAGES})
    get_filename_component(name ${man_page} NAME_WE)
    set(manual_text ${PROJECT_BINARY_DIR}/${name}.txt)
    add_custom_command(
      OUTPUT ${manual_text}
      COMMAND ${GROFF} -man -Tascii -P-cbou ${man_page} > ${manual_text}
      DEPENDS ${man_page}
      COMMENT "Rendering the manual of ${name} as text")
    list(APPEND manual_texts ${manual_text})
  endforeach()
  add_custom_target(installed_documents ALL DEPENDS ${manual_texts})
  install(FILES ${manual_texts} DESTINATION .)
  set(installed zeptor.exe zeptor-pairs.exe zeptor.txt zeptor-pairs.txt
      README.md LICENSE survey.prt)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-win64)
else()
  # As a Debian package has them: the man page and the changelog gzipped
  # (without a time stamp, so that builds repeat), and the license in a
  # machine-readable copyright file.
  set(ZEPTOR_MAINTAINER "The zeptor authors <zeptor@example.org>")
  string(REPLACE / - iso_date ${ZEPTOR_DATE})
  execute_process(COMMAND date -R -u -d ${iso_date}
                  OUTPUT_VARIABLE ZEPTOR_CHANGELOG_DATE
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  # The license's terms, from LICENSE less its heading, each line indented
  # by one blank and an empty one written " .".
  file(READ LICENSE license)
  string(FIND "${license}" "Permission" terms_start)
  string(SUBSTRING "${license}" ${terms_start} -1 license)
  string(STRIP "${license}" license)
  string(REPLACE "\n\n" "\n.\n" license "${license}")
  string(REPLACE "\n" "\n " license "${license}")
  set(ZEPTOR_LICENSE_TEXT " ${license}")
  set(doc ${PROJECT_BINARY_DIR}/doc)
  configure_file(cmake/debian/copyright.in ${doc}/copyright @ONLY)
  configure_file(cmake/debian/changelog.in ${doc}/changelog @ONLY)
  find_program(GZIP gzip REQUIRED)
  set(man_pages_gz "")
  foreach(man_page ${ZEPTOR_MAN_PAGES})
    get_filename_component(name ${man_page} NAME)
    add_custom_command(
      OUTPUT ${doc}/${name}.gz
      COMMAND ${GZIP} -9n -c ${man_page} > ${doc}/${name}.gz
      DEPENDS ${man_page}
      COMMENT "Compressing the man page ${name}")
    list(APPEND man_pages_gz ${doc}/${name}.gz)
  endforeach()
  add_custom_command(
    OUTPUT ${doc}/changelog.gz
    COMMAND ${GZIP} -9n -c ${doc}/changelog > ${doc}/changelog.gz
    DEPENDS ${doc}/changelog
    COMMENT "Compressing the changelog")
  add_custom_target(installed_documents ALL
                    DEPENDS ${man_pages_gz} ${doc}/changelog.gz)
  install(TARGETS zeptor zeptor-pairs RUNTIME
          DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${man_pages_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES README.md ${doc}/copyright ${doc}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DOCDIR})
  install_web_page(${CMAKE_INSTALL_DATADIR}/zeptor)
  set(installed ${CMAKE_INSTALL_BINDIR}/zeptor
      ${CMAKE_INSTALL_BINDIR}/zeptor-pairs
      ${CMAKE_INSTALL_MANDIR}/man1/zeptor.1.gz
      ${CMAKE_INSTALL_MANDIR}/man1/zeptor-pairs.1.gz
      ${CMAKE_INSTALL_DOCDIR}/copyright ${CMAKE_INSTALL_DOCDIR}/changelog.gz)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ZEPTOR_MAINTAINER})
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_PACKAGE_FILE_NAME
      ${PROJECT_NAME}-${PROJECT_VERSION}-Linux-${CMAKE_SYSTEM_PROCESSOR})
endif()

# What `make install` builds: the program and the documents made from the
# sources, without the tests.
add_custom_target(installed_files)
add_dependencies(installed_files zeptor zeptor-pairs installed_documents)

if(BUILD_TESTING)
  # Everything installs where users look for it.
  list(JOIN installed " " installed)
  add_test(NAME install_puts_every_file_in_place
           COMMAND sh -c "prefix=$(mktemp -d) && \
             ${CMAKE_COMMAND} --install \"$0\" --prefix \"$prefix\" >/dev/null && \
             for file in ${installed}; do \
               test -f \"$prefix/$file\" || { echo missing $file; exit 1; }; \
             done && rm -rf \"$prefix\""
                   ${PROJECT_BINARY_DIR})
endif()

set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR "The zeptor authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "order-class accuracy distribution of an OMBRIX print file")
set(CPACK_PACKAGE_DESCRIPTION
    "zeptor reads the print file of an OMBRIX least-squares adjustment and
reports the ellipsoid-height order-class accuracy distribution at the 95%
confidence level, overall and by station spacing. zeptor-pairs lists every
observation pair it counts, with its lines, ratio and class, as CSV.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
