# The installed tree (cmake --install BUILD --prefix PREFIX):
#   bin/tavrel, bin/tavrel-dict, bin/tavrel-contacts   the programs people start
#   libexec/tavrel/assign, libexec/tavrel/keyreset     the button tools, which tavrel starts
#                                                      (generic names stay out of bin/)
#   share/tavrel/                                      the shipped data, found from bin/
#   share/applications/tavrel.desktop, share/icons/hicolor/NxN/apps/tavrel.png,
#   share/man/man1/tavrel.1, tavrel-dict.1
# A rule applies only when its target is part of the build.
include(GNUInstallDirs)

install(TARGETS tavrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# assign, keyreset and tavrel-contacts carry their own rules in their folders.
# The dictionary tool is `dict` in the build tree; installed it takes a name no other package uses.
if(TARGET dict)
  install(PROGRAMS $<TARGET_FILE:dict> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME tavrel-dict)
endif()

install(DIRECTORY "${PROJECT_SOURCE_DIR}/data/" DESTINATION ${CMAKE_INSTALL_DATADIR}/tavrel)

set(_desktop "${PROJECT_SOURCE_DIR}/desktop")
install(FILES "${_desktop}/tavrel.desktop" DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(_size 48 64 128)
  install(FILES "${_desktop}/icons/tavrel-${_size}.png"
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps RENAME tavrel.png)
endforeach()
install(FILES "${_desktop}/tavrel.1" "${_desktop}/tavrel-dict.1" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# What scripts/run builds: the programs a person starts, without the tests and benchmarks.
add_custom_target(programs)
foreach(_program tavrel assign keyreset dict tavrel-contacts)
  if(TARGET ${_program})
    add_dependencies(programs ${_program})
  endif()
endforeach()
