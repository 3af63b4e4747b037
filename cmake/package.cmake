# The Debian package: `cpack -G DEB` in a build tree makes orvane_<version>_<arch>.deb from the
# install rules, with the run-time dependencies found by dpkg-shlibdeps.

include(GNUInstallDirs)

set(_orvane_doc ${CMAKE_INSTALL_DATADIR}/doc/orvane)

# Debian wants the changelog and the manual pages compressed, without a time stamp so that
# rebuilds give the same bytes.
find_program(ORVANE_GZIP gzip)
if(ORVANE_GZIP)
  set(_orvane_gzipped)
  foreach(source app/orvane.1 batch/orvane-conv.1 packaging/changelog)
    get_filename_component(name ${source} NAME)
    set(output ${CMAKE_BINARY_DIR}/packaging/${name}.gz)
    add_custom_command(OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
      COMMAND ${ORVANE_GZIP} -9nc ${PROJECT_SOURCE_DIR}/${source} > ${output}
      DEPENDS ${PROJECT_SOURCE_DIR}/${source} VERBATIM)
    list(APPEND _orvane_gzipped ${output})
  endforeach()
  add_custom_target(orvane_packaging_files ALL DEPENDS ${_orvane_gzipped})
  install(FILES ${CMAKE_BINARY_DIR}/packaging/orvane.1.gz ${CMAKE_BINARY_DIR}/packaging/orvane-conv.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT Runtime)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION ${_orvane_doc} COMPONENT Runtime)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${_orvane_doc} COMPONENT Runtime)

if(UNIX AND NOT APPLE)
  set(CPACK_GENERATOR DEB)
else()
  set(CPACK_GENERATOR ZIP)
endif()
set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "the Orvane developers")
set(CPACK_PACKAGE_CONTACT "Orvane developers <orvane@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small, fast text editor for Japanese text")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not found by dpkg-shlibdeps: a font with Japanese glyphs and the Japanese texts of Qt's dialogs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-noto-cjk, qt6-translations-l10n")
# The synopsis is the summary above; CPack indents these lines and marks the empty one.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Orvane edits plain text files in Shift-JIS (code page 932), UTF-8 and
UTF-16 and converts the whole text or the selection to upper or lower
case, full or half width, katakana or hiragana. It never replaces a
character silently: bytes that are not valid and characters that the
file's encoding cannot store are reported with their line and column.

The package also contains orvane-conv, which applies the same
conversions and encodings to files and pipes of any size.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)

# The package checks run on the release build only: a sanitizer build's programs need the
# sanitizer runtimes, which no user installs.
if((BUILD_TESTING OR NOT DEFINED BUILD_TESTING) AND NOT ORVANE_SANITIZE)
  add_test(NAME package_lintian
    COMMAND bash ${PROJECT_SOURCE_DIR}/tests/install/check_lintian.sh ${CMAKE_BINARY_DIR})
  add_test(NAME package_install
    COMMAND bash ${PROJECT_SOURCE_DIR}/tests/install/check_package.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(package_lintian package_install PROPERTIES LABELS package SKIP_RETURN_CODE 77)
  set_tests_properties(package_lintian PROPERTIES TIMEOUT 300)
  set_tests_properties(package_install PROPERTIES TIMEOUT 900)
endif()
