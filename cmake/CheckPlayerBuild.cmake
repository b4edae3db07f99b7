# Fails unless the build a player gets is the one CI checks and the one the README's Performance
# figures are measured with: scripts/run.sh and scripts/test.sh both run scripts/player_build.sh
# (run.sh runs no cmake of its own), test.sh then runs scripts/check_player_start.sh, and the
# player's build type is that of the README's build-rel command. A script counts as run where a
# command runs it, not where a comment or a message names it.
# Run: cmake -DROOT=<source> -P cmake/CheckPlayerBuild.cmake
cmake_minimum_required(VERSION 3.25)

# The commands of the shell script at path, one an element: its text without comments and without
# quoted texts holding a blank (messages), cut at line ends and at ; & |.
function(shell_commands path out)
  file(READ ${path} text)
  string(REGEX REPLACE "\\\\\n" " " text "${text}")
  string(REGEX REPLACE "(^|[ \t\n])#[^\n]*" "\\1" text "${text}")
  # A quoted word loses its quotes; then what is left quoted holds a blank.
  string(REGEX REPLACE "\"([^\" \t\n]*)\"" "\\1" text "${text}")
  string(REGEX REPLACE "\"[^\"\n]*\"" "\"\"" text "${text}")
  string(REGEX REPLACE "'([^' \t\n]*)'" "\\1" text "${text}")
  string(REGEX REPLACE "'[^'\n]*'" "''" text "${text}")
  # Brackets and backslashes would keep CMake's list from splitting at ";".
  string(REGEX REPLACE "[][\\\\]" " " text "${text}")
  string(REGEX REPLACE "[;&|\n]+" ";" commands "${text}")
  set(${out} "${commands}" PARENT_SCOPE)
endfunction()

# True in out when one of commands runs program: first, or after what runs its arguments (nice -n 19,
# setsid, bash, exec, then ...) and variables set for it.
function(runs commands program out)
  set(before "([A-Za-z_]+=[^ \t]*|then|do|else|if|while|until|exec|bash|sh|setsid|nice|time|-n|[0-9]+)[ \t]+")
  set(pattern "^[ \t(!]*(${before})*${program}([ \t)]|$)")
  set(found FALSE)
  foreach(command IN LISTS commands)
    if(command MATCHES "${pattern}")
      set(found TRUE)
    endif()
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

set(script [=[(\$root/|\${root}/|\./)?scripts/]=])
shell_commands(${ROOT}/scripts/run.sh run)
shell_commands(${ROOT}/scripts/test.sh test)
set(problems "")
runs("${run}" "${script}player_build\\.sh" found)
if(NOT found)
  list(APPEND problems "scripts/run.sh does not run scripts/player_build.sh")
endif()
runs("${run}" "cmake" found)
if(found)
  list(APPEND problems "scripts/run.sh runs cmake itself rather than through scripts/player_build.sh")
endif()
runs("${test}" "${script}player_build\\.sh" found)
if(NOT found)
  list(APPEND problems "scripts/test.sh does not run scripts/player_build.sh")
endif()
runs("${test}" "${script}check_player_start\\.sh" found)
if(NOT found)
  list(APPEND problems "scripts/test.sh does not start the player's game (scripts/check_player_start.sh)")
endif()

file(READ ${ROOT}/scripts/player_build.sh definition)
file(READ ${ROOT}/README.md readme)
string(REGEX MATCH "-DCMAKE_BUILD_TYPE=([A-Za-z]+)" _ "${definition}")
set(player "${CMAKE_MATCH_1}")
string(REGEX MATCH "-B build-rel [^`\n]*-DCMAKE_BUILD_TYPE=([A-Za-z]+)" _ "${readme}")
set(measured "${CMAKE_MATCH_1}")
if(player STREQUAL "" OR measured STREQUAL "")
  list(APPEND problems "scripts/player_build.sh or the README's build-rel command names no build type")
elseif(NOT player STREQUAL measured)
  list(APPEND problems "scripts/player_build.sh builds ${player}, the README's figures come from ${measured}")
endif()
if(problems)
  list(JOIN problems "\n" text)
  message(FATAL_ERROR "${text}")
endif()
