# Scintilla for GTK+ 2, built into third_party/ by scripts/setup-scintilla.
# Gives the global imported target scintilla::scintilla.
if(TARGET scintilla::scintilla)
  return()
endif()

set(SCINTILLA_DIR ${CMAKE_SOURCE_DIR}/third_party/scintilla)
set(LEXILLA_DIR ${CMAKE_SOURCE_DIR}/third_party/lexilla)
if(NOT EXISTS ${SCINTILLA_DIR}/bin/scintilla.a)
  message(FATAL_ERROR "Scintilla is not built (${SCINTILLA_DIR}/bin/scintilla.a is missing): run scripts/setup")
endif()

pkg_check_modules(GMODULE REQUIRED IMPORTED_TARGET GLOBAL gmodule-2.0)
find_package(Threads REQUIRED)

add_library(scintilla::scintilla STATIC IMPORTED GLOBAL)
set_target_properties(scintilla::scintilla PROPERTIES
  IMPORTED_LOCATION ${SCINTILLA_DIR}/bin/scintilla.a
  INTERFACE_INCLUDE_DIRECTORIES "${SCINTILLA_DIR}/include;${LEXILLA_DIR}/include"
  INTERFACE_COMPILE_DEFINITIONS GTK
  INTERFACE_LINK_LIBRARIES "PkgConfig::GTK2;PkgConfig::GMODULE;Threads::Threads;m")
