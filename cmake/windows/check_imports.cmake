cmake_policy(SET CMP0057 NEW)
# Fails when PROGRAM imports a DLL that is not part of Windows (a MinGW
# runtime such as libstdc++-6.dll or libwinpthread-1.dll would have to be
# shipped beside it). Run: cmake -DOBJDUMP=... -DPROGRAM=... -P check_imports.cmake
# With -DONLY=a.dll,b.dll the program may import those alone: the others it
# needs are loaded when first asked for, not at its start.
set(system_dlls
  advapi32.dll bcrypt.dll comctl32.dll comdlg32.dll crypt32.dll gdi32.dll gdiplus.dll kernel32.dll
  msvcrt.dll ntdll.dll oleacc.dll ole32.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll uxtheme.dll
  version.dll winmm.dll ws2_32.dll dwmapi.dll imm32.dll userenv.dll)
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${PROGRAM} failed")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" names "${dump}")
set(imported)
foreach(line IN LISTS names)
  string(REGEX REPLACE "DLL Name: *" "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" dll)
  list(APPEND imported ${dll})
  if(NOT dll IN_LIST system_dlls AND NOT dll MATCHES "^api-ms-win-")
    message(FATAL_ERROR "${PROGRAM} imports ${dll}, which is not part of Windows")
  endif()
  if(DEFINED ONLY)
    string(REPLACE "," ";" only "${ONLY}")
    if(NOT dll IN_LIST only)
      message(FATAL_ERROR "${PROGRAM} imports ${dll} at its start; it should be loaded when first needed")
    endif()
  endif()
endforeach()
list(JOIN imported " " imported)
get_filename_component(name ${PROGRAM} NAME)
message(STATUS "${name} imports only Windows DLLs: ${imported}")
