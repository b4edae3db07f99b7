# Runs a check script of cmake/ on a fixture tree and compares the outcome with the one expected:
# EXPECT=pass wants it to succeed; EXPECT=fail wants it to fail and to print every text of
# MESSAGES (";"-separated), so it fails for the reason meant and not for another.
# Run: cmake -DCHECK=<script> -DROOT=<fixture> -DEXPECT=pass|fail [-DMESSAGES=...] -P ExpectCheck.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${ROOT} -P ${CHECK}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(output "${out}${err}")
if(EXPECT STREQUAL "pass")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${CHECK} failed on ${ROOT}, which it should pass:\n${output}")
  endif()
elseif(EXPECT STREQUAL "fail")
  if(result EQUAL 0)
    message(FATAL_ERROR "${CHECK} passed ${ROOT}, which it should refuse:\n${output}")
  endif()
  # CMake wraps long messages: compare with the line breaks and indentation taken out.
  string(REGEX REPLACE "[ \t\r\n]+" " " flat "${output}")
  foreach(text ${MESSAGES})
    string(FIND "${flat}" "${text}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "${CHECK} failed on ${ROOT} without saying \"${text}\":\n${output}")
    endif()
  endforeach()
else()
  message(FATAL_ERROR "EXPECT must be pass or fail, not \"${EXPECT}\"")
endif()
message(STATUS "${CHECK} on ${ROOT}: ${EXPECT}ed as expected")
