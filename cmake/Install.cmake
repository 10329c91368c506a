# Installing the game by the GNU directories, and its Debian package (`make package`):
#   bin/kalvento
#   share/kalvento/{Pictures.dxg,Sounds.dxg,musics/}
#   share/applications, share/metainfo, share/icons/hicolor (one application id for all)
#   share/man/man6/kalvento.6
# The program finds share/kalvento relative to its own folder, so an installed tree runs
# wherever it is put.
include(GNUInstallDirs)
set(KV_APP_ID io.github.kalvento.kalvento)
set(KV_DESKTOP_SRC ${CMAKE_CURRENT_SOURCE_DIR}/desktop)
set(KV_ICON_SVG ${CMAKE_CURRENT_SOURCE_DIR}/assets/icon/${KV_APP_ID}.svg)
set(KV_ICON_BIN ${CMAKE_BINARY_DIR}/icons)

file(RELATIVE_PATH KV_DATA_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/kalvento)
target_compile_definitions(kv_app PRIVATE KV_DATA_FROM_BIN="${KV_DATA_FROM_BIN}")
target_compile_definitions(kv_sdl PRIVATE KV_APP_ID="${KV_APP_ID}")

# ---- the icon: PNGs for the desktop, and one built into the program for its windows ----
find_program(KV_RSVG rsvg-convert)
set(kv_icon_pngs "")
foreach(size 48 64 128 256)
  set(png ${KV_ICON_BIN}/${size}x${size}/${KV_APP_ID}.png)
  if(KV_RSVG)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${KV_ICON_BIN}/${size}x${size}
      COMMAND ${KV_RSVG} -w ${size} -h ${size} ${KV_ICON_SVG} -o ${png}.tmp
      COMMAND ${CMAKE_COMMAND} -E rename ${png}.tmp ${png}
      DEPENDS ${KV_ICON_SVG}
      COMMENT "Rendering the ${size} pixel icon"
      VERBATIM)
  else()
    kv_missing_tool_rule(${png} icon rsvg-convert)
  endif()
  list(APPEND kv_icon_pngs ${png})
endforeach()
add_custom_target(icons ALL DEPENDS ${kv_icon_pngs})

set(kv_icon_src ${CMAKE_BINARY_DIR}/generated/AppIconData.cpp)
add_custom_command(OUTPUT ${kv_icon_src}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated
  COMMAND ${CMAKE_COMMAND} -DINPUT=${KV_ICON_BIN}/64x64/${KV_APP_ID}.png -DOUTPUT=${kv_icon_src} -DNAME=AppIconPng
          -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/EmbedFile.cmake
  DEPENDS ${KV_ICON_BIN}/64x64/${KV_APP_ID}.png ${CMAKE_CURRENT_SOURCE_DIR}/cmake/EmbedFile.cmake
  COMMENT "Building the icon into the program"
  VERBATIM)
target_sources(kv_sdl PRIVATE ${kv_icon_src})

configure_file(${KV_DESKTOP_SRC}/${KV_APP_ID}.metainfo.xml.in ${CMAKE_BINARY_DIR}/desktop/${KV_APP_ID}.metainfo.xml @ONLY)

# ---- install ----
install(TARGETS kalvento RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${KV_RUN_DIR}/Pictures.dxg ${KV_RUN_DIR}/Sounds.dxg DESTINATION ${CMAKE_INSTALL_DATADIR}/kalvento)
install(DIRECTORY ${KV_RUN_DIR}/musics DESTINATION ${CMAKE_INSTALL_DATADIR}/kalvento FILES_MATCHING PATTERN "*.mp3")
install(FILES ${KV_DESKTOP_SRC}/${KV_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/desktop/${KV_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${KV_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 48 128 256)
  install(FILES ${KV_ICON_BIN}/${size}x${size}/${KV_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${KV_DESKTOP_SRC}/kalvento.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# ---- the Debian package: kalvento_VERSION_ARCH.deb, its library dependencies computed ----
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalvento)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Kalvento developers <kalvento@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "vertical shoot-'em-up with bullet patterns and multi-phase bosses")
set(CPACK_PACKAGE_DESCRIPTION "Steer a small ship, fire fans of shots, drop bullet-erasing bombs and survive\n\
four stages, each ending with a boss that fights in several phases; clearing\n\
the game unlocks the Extra Stage.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not a library, so not found by the computation: the face the HUD and the controls are drawn in.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic")
include(CPack)
