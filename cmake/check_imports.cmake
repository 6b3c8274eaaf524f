# Checks that a Windows program imports DLLs of the system only, so that it ships as one file.
#   cmake -DOBJDUMP=x86_64-w64-mingw32-objdump -DPROGRAM=quirnctl.exe -P check_imports.cmake
# A DLL missing from the list below fails the check: a runtime DLL (libstdc++, libgcc,
# winpthread) means the static link broke; a further system DLL is simply added here.
cmake_minimum_required(VERSION 3.25)
set(system_dlls
    advapi32 comctl32 comdlg32 gdi32 kernel32 msimg32 msvcrt ole32 oleaut32 psapi shell32
    shlwapi user32 uxtheme version winmm ws2_32)

execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM}
                RESULT_VARIABLE status
                OUTPUT_VARIABLE headers
                ERROR_VARIABLE error_output)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} -p ${PROGRAM} failed:\n${error_output}")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" lines "${headers}")
if(NOT lines)
    message(FATAL_ERROR "${PROGRAM}: no import table found")
endif()
set(foreign "")
foreach(line IN LISTS lines)
    string(REGEX REPLACE "^DLL Name: (.+)\\.[dD][lL][lL]$" "\\1" name "${line}")
    string(TOLOWER "${name}" name)
    if(NOT name IN_LIST system_dlls AND NOT name MATCHES "^api-ms-win-")
        string(APPEND foreign " ${name}.dll")
    endif()
endforeach()
if(foreign)
    message(FATAL_ERROR "${PROGRAM} imports DLLs that are not the system's:${foreign}")
endif()
