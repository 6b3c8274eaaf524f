# Runs one command and checks its exit status and, when EXPECTED_OUTPUT names a file, that its
# standard output is exactly that file; EXPECTED_OUTPUT_TEXT and EXPECTED_ERROR are texts its
# standard output and standard error must contain.
#   cmake -DPROGRAM=path -DARGS="a|b|c" -DEXPECTED_EXIT=N [-DEXPECTED_OUTPUT=file]
#         [-DEXPECTED_OUTPUT_TEXT=text] [-DEXPECTED_ERROR=text] -P check_command.cmake
# Arguments are separated by "|" so that they survive being passed as one definition.
string(REPLACE "|" ";" arguments "${ARGS}")
execute_process(COMMAND ${PROGRAM} ${arguments}
                RESULT_VARIABLE exit_status
                OUTPUT_VARIABLE output
                ERROR_VARIABLE error_output)
if(NOT "${exit_status}" STREQUAL "${EXPECTED_EXIT}")
    message(FATAL_ERROR "exit status ${exit_status}, expected ${EXPECTED_EXIT}\n"
                        "stdout:\n${output}\nstderr:\n${error_output}")
endif()
if(DEFINED EXPECTED_OUTPUT)
    file(READ "${EXPECTED_OUTPUT}" expected)
    if(NOT output STREQUAL expected)
        # Both texts in full, then line by line where a diff program is at hand.
        set(comparison "")
        find_program(DIFF_PROGRAM diff)
        if(DIFF_PROGRAM)
            string(RANDOM LENGTH 8 suffix)
            set(actual_file "${CMAKE_CURRENT_BINARY_DIR}/actual-${suffix}.txt")
            file(WRITE "${actual_file}" "${output}")
            execute_process(COMMAND ${DIFF_PROGRAM} -u "${EXPECTED_OUTPUT}" "${actual_file}"
                            OUTPUT_VARIABLE comparison)
            file(REMOVE "${actual_file}")
        endif()
        message(FATAL_ERROR "stdout differs from ${EXPECTED_OUTPUT}\n"
                            "expected:\n${expected}\nactual:\n${output}\n${comparison}")
    endif()
endif()
if(DEFINED EXPECTED_OUTPUT_TEXT)
    string(FIND "${output}" "${EXPECTED_OUTPUT_TEXT}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "stdout lacks \"${EXPECTED_OUTPUT_TEXT}\":\n${output}")
    endif()
endif()
if(DEFINED EXPECTED_ERROR)
    string(FIND "${error_output}" "${EXPECTED_ERROR}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "stderr lacks \"${EXPECTED_ERROR}\":\n${error_output}")
    endif()
endif()
