# What every Windows program gets: an icon, a version resource and an
# application manifest (UTF-8 as the active code page, long paths,
# per-monitor DPI awareness v2, common controls 6), and a check after linking
# that it imports nothing but Windows' own DLLs.
set(OVLET_WINDOWS_DIR ${CMAKE_CURRENT_LIST_DIR}/windows)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(OVLET_WINDOWS_ICON ${CMAKE_BINARY_DIR}/windows/ovlet.ico)
set(_ovlet_icon_pngs
  ${PROJECT_SOURCE_DIR}/resources/icons/ovview-16.png ${PROJECT_SOURCE_DIR}/resources/icons/ovview-32.png
  ${PROJECT_SOURCE_DIR}/resources/icons/ovview-48.png ${PROJECT_SOURCE_DIR}/resources/icons/ovview-256.png)
add_custom_command(OUTPUT ${OVLET_WINDOWS_ICON}
  COMMAND ${Python3_EXECUTABLE} ${OVLET_WINDOWS_DIR}/make_ico.py ${OVLET_WINDOWS_ICON} ${_ovlet_icon_pngs}
  DEPENDS ${OVLET_WINDOWS_DIR}/make_ico.py ${_ovlet_icon_pngs}
  COMMENT "Windows icon")
add_custom_target(ovlet_windows_icon DEPENDS ${OVLET_WINDOWS_ICON})

# ovlet_windows_resources(TARGET DESCRIPTION FILE_NAME [EXTRA_RC_LINES])
function(ovlet_windows_resources target description file)
  set(OVLET_RC_EXTRA "${ARGN}")
  set(OVLET_RC_NAME ${target})
  set(OVLET_RC_FILE ${file})
  set(OVLET_RC_DESCRIPTION ${description})
  set(OVLET_RC_VERSION ${PROJECT_VERSION}.0)
  string(REPLACE "." "," OVLET_RC_COMMAS ${OVLET_RC_VERSION})
  set(OVLET_RC_ICON ${OVLET_WINDOWS_ICON})
  set(dir ${CMAKE_BINARY_DIR}/windows/${target})
  set(OVLET_RC_MANIFEST ${dir}/${target}.manifest)
  configure_file(${OVLET_WINDOWS_DIR}/program.manifest.in ${OVLET_RC_MANIFEST} @ONLY)
  configure_file(${OVLET_WINDOWS_DIR}/program.rc.in ${dir}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${dir}/${target}.rc)
  set_source_files_properties(${dir}/${target}.rc PROPERTIES OBJECT_DEPENDS "${OVLET_WINDOWS_ICON};${OVLET_RC_MANIFEST}")
  add_dependencies(${target} ovlet_windows_icon)
  # The program runs alone: only Windows' own DLLs may be imported.
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DPROGRAM=$<TARGET_FILE:${target}>
            -P ${OVLET_WINDOWS_DIR}/check_imports.cmake
    VERBATIM)
endfunction()

# Tests, benchmarks and fuzz replays get the manifest alone (no icon, no
# version): every program of the build sees UTF-8 as its code page.
function(ovlet_windows_test_manifests)
  set(OVLET_RC_NAME tests)
  set(OVLET_RC_DESCRIPTION "Ovlet test program")
  set(OVLET_RC_VERSION ${PROJECT_VERSION}.0)
  set(OVLET_TEST_MANIFEST ${CMAKE_BINARY_DIR}/windows/tests/tests.manifest)
  configure_file(${OVLET_WINDOWS_DIR}/program.manifest.in ${OVLET_TEST_MANIFEST} @ONLY)
  configure_file(${OVLET_WINDOWS_DIR}/test_program.rc.in ${CMAKE_BINARY_DIR}/windows/tests/tests.rc @ONLY)
  foreach(dir IN LISTS ARGN)
    _ovlet_manifest_targets_in(${dir})
  endforeach()
endfunction()

function(_ovlet_manifest_targets_in dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/windows/tests/tests.rc)
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    _ovlet_manifest_targets_in(${sub})
  endforeach()
endfunction()
