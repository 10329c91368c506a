# The message catalogues: po/LANG.po for each language in po/LINGUAS, compiled into the run
# folder (locale/LANG/LC_MESSAGES/kalvento.mo) and installed under share/locale. `make pot`
# remakes the template po/kalvento.pot from the code.
find_program(KV_MSGFMT msgfmt)
set(KV_PO_DIR ${CMAKE_CURRENT_SOURCE_DIR}/po)
file(STRINGS ${KV_PO_DIR}/LINGUAS KV_LINGUAS REGEX "^[^#]")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${KV_PO_DIR}/LINGUAS)

file(RELATIVE_PATH KV_LOCALE_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LOCALEDIR})
target_compile_definitions(kv_app PRIVATE KV_LOCALE_FROM_BIN="${KV_LOCALE_FROM_BIN}")

set(kv_mo_files "")
foreach(lang ${KV_LINGUAS})
  set(mo ${KV_RUN_DIR}/locale/${lang}/LC_MESSAGES/kalvento.mo)
  if(KV_MSGFMT)
    add_custom_command(OUTPUT ${mo}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${KV_RUN_DIR}/locale/${lang}/LC_MESSAGES
      COMMAND ${KV_MSGFMT} --check -o ${mo} ${KV_PO_DIR}/${lang}.po
      DEPENDS ${KV_PO_DIR}/${lang}.po
      COMMENT "Compiling the ${lang} message catalogue"
      VERBATIM)
  else()
    kv_missing_tool_rule(${mo} catalogues msgfmt)
  endif()
  list(APPEND kv_mo_files ${mo})
  install(FILES ${mo} DESTINATION ${CMAKE_INSTALL_LOCALEDIR}/${lang}/LC_MESSAGES)
endforeach()
add_custom_target(catalogues ALL DEPENDS ${kv_mo_files})
add_dependencies(kalvento catalogues)

add_custom_target(pot
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/scripts/update-pot.sh ${KV_PO_DIR}/kalvento.pot
  WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
  COMMENT "Remaking po/kalvento.pot from the code"
  VERBATIM)
