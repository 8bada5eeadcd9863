# Installs the headers under include/xpkit/, the static libraries with a CMake package
# (find_package(xpkit) gives xpkit::kit and xpkit::codecs) and pkg-config files (xpkit,
# xpkit-codecs), and, with the programs, their manual pages, a desktop entry and its icon.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# The public headers only, in their folders; detail/ and shell/ stay in the source tree.
foreach(h ${XPKIT_PUBLIC_HEADERS})
  get_filename_component(dir ${h} DIRECTORY)
  install(FILES ${XPKIT_SOURCE_ROOT}/${h} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${dir})
endforeach()

get_property(libraries GLOBAL PROPERTY XPKIT_LIBRARIES)
install(TARGETS ${libraries} xpkit_kit xpkit_codecs_all EXPORT xpkitTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
set(XPKIT_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/xpkit)
install(EXPORT xpkitTargets NAMESPACE xpkit:: DESTINATION ${XPKIT_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/packaging/xpkitConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/packaging/xpkitConfig.cmake INSTALL_DESTINATION ${XPKIT_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/packaging/xpkitConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/packaging/xpkitConfig.cmake ${PROJECT_BINARY_DIR}/packaging/xpkitConfigVersion.cmake
        DESTINATION ${XPKIT_CMAKE_DIR})

# The pkg-config files find the prefix from where they lie, so that they hold for any
# install prefix, also one given only to `cmake --install --prefix`.
file(RELATIVE_PATH XPKIT_PC_UP "${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig" "${CMAKE_INSTALL_PREFIX}")
string(REGEX REPLACE "/$" "" XPKIT_PC_UP "${XPKIT_PC_UP}")
foreach(dir LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${dir}}")
    set(XPKIT_PC_${dir} "${CMAKE_INSTALL_${dir}}")
  else()
    set(XPKIT_PC_${dir} "\${prefix}/${CMAKE_INSTALL_${dir}}")
  endif()
endforeach()
foreach(pc xpkit xpkit-codecs)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/${pc}.pc.in ${PROJECT_BINARY_DIR}/packaging/${pc}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()

# fontconfig's cache of the folder the kit finds Tahoma and MS Sans Serif in (the kit adds
# the folder to fontconfig's own), refreshed where the kit is installed for use; a staged
# install (DESTDIR) leaves it to the package's own scripts.
find_program(XPKIT_FC_CACHE fc-cache)
install(CODE "
  if(\"\$ENV{DESTDIR}\" STREQUAL \"\" AND EXISTS \"${XPKIT_UI_FONT_DIR}\" AND EXISTS \"${XPKIT_FC_CACHE}\")
    message(STATUS \"Refreshing fontconfig's cache of ${XPKIT_UI_FONT_DIR}\")
    execute_process(COMMAND \"${XPKIT_FC_CACHE}\" \"${XPKIT_UI_FONT_DIR}\" RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(WARNING \"fc-cache ${XPKIT_UI_FONT_DIR} failed: the programs will scan that folder at every start\")
    endif()
  endif()")

# The guides, with the pictures they show; the manual pages point here.
file(GLOB XPKIT_DOCS ${PROJECT_SOURCE_DIR}/docs/*.md ${PROJECT_SOURCE_DIR}/docs/*.png)
install(FILES ${XPKIT_DOCS} DESTINATION ${CMAKE_INSTALL_DOCDIR})

if(XPKIT_TOOLS)
  install(TARGETS xpkit xpkit-gallery xpkit-codec RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/xpkit.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_BINARY_DIR}/share/xpkit.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
  if(XPKIT_MAN_PAGES)
    install(FILES ${XPKIT_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endif()
