# What is installed, and the release packages made of it with CPack:
#   Linux:   zeptor-VERSION-Linux-ARCH.deb (make package)
#   Windows: zeptor-VERSION-win64.zip      (make package-windows)

if(WIN32)
  # One folder: the program, its documents and the example beside it. The
  # manual comes as plain text, rendered from the man page where groff is.
  install(TARGETS zeptor RUNTIME DESTINATION .)
  install(FILES README.md LICENSE examples/survey.prt DESTINATION .)
  find_program(GROFF groff)
  if(GROFF)
    set(manual_text ${PROJECT_BINARY_DIR}/zeptor.txt)
    add_custom_command(
      OUTPUT ${manual_text}
      COMMAND ${GROFF} -man -Tascii -P-cbou ${ZEPTOR_MAN_PAGE} > ${manual_text}
      DEPENDS ${ZEPTOR_MAN_PAGE}
      COMMENT "Rendering the manual as text")
    add_custom_target(manual_text ALL DEPENDS ${manual_text})
    install(FILES ${manual_text} DESTINATION .)
  endif()
  set(installed zeptor.exe zeptor.txt README.md LICENSE survey.prt)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-win64)
else()
  install(TARGETS zeptor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${ZEPTOR_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES README.md LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
  set(installed ${CMAKE_INSTALL_BINDIR}/zeptor
      ${CMAKE_INSTALL_MANDIR}/man1/zeptor.1 ${CMAKE_INSTALL_DOCDIR}/LICENSE)
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_PACKAGE_FILE_NAME
      ${PROJECT_NAME}-${PROJECT_VERSION}-Linux-${CMAKE_SYSTEM_PROCESSOR})
endif()

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
set(CPACK_PACKAGE_CONTACT "The zeptor authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "order-class accuracy distribution of an OMBRIX print file")
set(CPACK_PACKAGE_DESCRIPTION
    "zeptor reads the print file of an OMBRIX least-squares adjustment and
reports the ellipsoid-height order-class accuracy distribution at the 95%
confidence level, overall and by station spacing.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
