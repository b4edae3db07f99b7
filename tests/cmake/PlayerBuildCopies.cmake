# cmake/CheckPlayerBuild.cmake on copies of the files it reads, each with one edit: it passes the tree
# as it is, whose comments and messages name the scripts too, and fails each copy whose run.sh or
# test.sh no longer runs them, or whose player's build type is not the README's.
# Run: cmake -DROOT=<source> -DCHECK=<check> -DWORK=<folder> -P PlayerBuildCopies.cmake
cmake_minimum_required(VERSION 3.25)

set(failures "")
# A copy with every match of regex in file replaced, judged by tests/cmake/ExpectCheck.cmake.
function(expect_copy what file regex replacement expect message)
  set(copy ${WORK}/${what})
  foreach(name scripts/run.sh scripts/test.sh scripts/player_build.sh README.md)
    configure_file(${ROOT}/${name} ${copy}/${name} COPYONLY)
  endforeach()
  if(file)
    file(READ ${copy}/${file} text)
    string(REGEX REPLACE "${regex}" "${replacement}" edited "${text}")
    if(edited STREQUAL text)
      set(failures "${failures}${what}: the edit changes nothing\n" PARENT_SCOPE)
      return()
    endif()
    file(WRITE ${copy}/${file} "${edited}")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -DCHECK=${CHECK} -DROOT=${copy} -DEXPECT=${expect} -DMESSAGES=${message}
                          -P ${CMAKE_CURRENT_LIST_DIR}/ExpectCheck.cmake RESULT_VARIABLE result ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    set(failures "${failures}${what}: ${err}\n" PARENT_SCOPE)
  endif()
endfunction()

# A line that runs the script: no "#" before the call.
set(build_call "\n([^\n#]*\"\\$root/scripts/player_build\\.sh\"[^\n]*)")
set(start_call "\n([^\n#]*\"\\$root/scripts/check_player_start\\.sh\"[^\n]*)")

expect_copy(as_it_is "" "" "" pass "")
expect_copy(run_without_the_call scripts/run.sh "${build_call}" "\n" fail
            "scripts/run.sh does not run scripts/player_build.sh")
expect_copy(run_naming_it_in_a_message scripts/run.sh "${build_call}" "\necho \"using scripts/player_build.sh\"" fail
            "scripts/run.sh does not run scripts/player_build.sh")
expect_copy(run_building_its_own_way scripts/run.sh "${build_call}" "\ncmake --build \"$root/build\"" fail
            "scripts/run.sh runs cmake itself")
expect_copy(test_without_the_build scripts/test.sh "${build_call}" "\n" fail
            "scripts/test.sh does not run scripts/player_build.sh")
expect_copy(test_with_the_start_commented_out scripts/test.sh "${start_call}" "\n# \\1" fail
            "scripts/test.sh does not start the player's game")
expect_copy(another_build_type scripts/player_build.sh "=Release" "=Debug" fail
            "scripts/player_build.sh builds Debug, the README's figures come from Release")

file(REMOVE_RECURSE ${WORK})
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
