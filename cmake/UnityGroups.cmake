# Fixed unity groups.
#
# The test build and the player's build compile a target's sources together in groups (a unit a
# group), as cmake/unity_groups.txt assigns them: one line "GROUP SOURCE" a source, the path from
# the top of the tree. A group's sources are compiled in one unit in the target's order; a source
# the file names in no group is compiled alone. So a source added anywhere changes no other unit:
# it compiles alone until scripts/unity_groups.py puts it into a group of new sources (never into
# an existing group), and no boundary moves. The "unity_groups" test fails while a source of a
# target of several sources is in no group or the file names a source that is gone.
#
# Every other build compiles each source alone. For the checks, the configuration writes
# unity_sources.txt into the build folder: a line "T TARGET SOURCE..." a target, its sources from
# the top of the tree (scripts/check_file_local_names.py, scripts/unity_groups.py).

set(ORVEX_UNITY_GROUPS ${PROJECT_SOURCE_DIR}/cmake/unity_groups.txt)
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ORVEX_UNITY_GROUPS})

# Every target of a folder and the folders below it.
function(orvex_all_targets dir out)
  get_property(_targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(_subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(_sub ${_subdirs})
    orvex_all_targets(${_sub} _below)
    list(APPEND _targets ${_below})
  endforeach()
  set(${out} ${_targets} PARENT_SCOPE)
endfunction()

# Applies the groups to every target of the project and writes unity_sources.txt. Called once, at
# the end of the top-level CMakeLists.txt, when every target has its sources.
function(orvex_unity_groups)
  file(STRINGS ${ORVEX_UNITY_GROUPS} _lines REGEX "^[^#]")
  foreach(_line ${_lines})
    string(REGEX MATCH "^([^ ]+) +([^ ]+)$" _match "${_line}")
    if(NOT _match)
      message(FATAL_ERROR "${ORVEX_UNITY_GROUPS}: \"${_line}\" is not \"GROUP SOURCE\"")
    endif()
    set(_group_of_${CMAKE_MATCH_2} ${CMAKE_MATCH_1})
  endforeach()
  orvex_all_targets(${PROJECT_SOURCE_DIR} _targets)
  set(_manifest "")
  foreach(_t ${_targets})
    get_target_property(_type ${_t} TYPE)
    if(NOT _type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
      continue()
    endif()
    get_target_property(_dir ${_t} SOURCE_DIR)
    get_target_property(_sources ${_t} SOURCES)
    set(_rels "")
    foreach(_s ${_sources})
      if(_s MATCHES "^\\$<" OR NOT _s MATCHES "\\.(cpp|c)$")
        continue()
      endif()
      get_filename_component(_abs ${_s} ABSOLUTE BASE_DIR ${_dir})
      file(RELATIVE_PATH _rel ${PROJECT_SOURCE_DIR} ${_abs})
      if(_rel MATCHES "^\\.\\./")
        continue()  # made in the build folder
      endif()
      list(APPEND _rels ${_rel})
      if(CMAKE_UNITY_BUILD AND DEFINED _group_of_${_rel})
        set_source_files_properties(${_abs} TARGET_DIRECTORY ${_t} PROPERTIES UNITY_GROUP ${_group_of_${_rel}})
      endif()
    endforeach()
    if(CMAKE_UNITY_BUILD)
      set_target_properties(${_t} PROPERTIES UNITY_BUILD_MODE GROUP)
    endif()
    if(_rels)
      list(JOIN _rels " " _joined)
      string(APPEND _manifest "T ${_t} ${_joined}\n")
    endif()
  endforeach()
  file(WRITE ${PROJECT_BINARY_DIR}/unity_sources.txt "${_manifest}")
endfunction()
