# Install rules: the two programs, and the files through which a desktop finds the editor (its
# menu entry, its icons in the hicolor theme and its AppStream description).

include(GNUInstallDirs)

foreach(program orvane orvane-conv)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime)
  endif()
endforeach()

set(_orvane_app ${PROJECT_SOURCE_DIR}/app)

if(EXISTS ${_orvane_app}/orvane.desktop)
  install(FILES ${_orvane_app}/orvane.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT Runtime)
endif()

install(FILES ${_orvane_app}/io.orvane.Orvane.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT Runtime)

# One PNG per size, named after the size, and one scalable drawing of the same design.
foreach(size 16 32 48 64)
  if(EXISTS ${_orvane_app}/icons/orvane-${size}.png)
    install(FILES ${_orvane_app}/icons/orvane-${size}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
      RENAME orvane.png COMPONENT Runtime)
  endif()
endforeach()
if(EXISTS ${_orvane_app}/icons/orvane.svg)
  install(FILES ${_orvane_app}/icons/orvane.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT Runtime)
endif()

# The install test checks the installed tree, so it needs the programs built; it lives here with
# the rules it checks.
if(BUILD_TESTING OR NOT DEFINED BUILD_TESTING)
  add_test(NAME install_layout
    COMMAND bash ${PROJECT_SOURCE_DIR}/tests/install/check_install.sh ${CMAKE_BINARY_DIR} ${CMAKE_INSTALL_PREFIX})
  set_tests_properties(install_layout PROPERTIES LABELS unit SKIP_RETURN_CODE 77 TIMEOUT 120)
endif()
