# Flags travel on interface targets: every project target links ovlet_options.
add_library(ovlet_options INTERFACE)
target_compile_options(ovlet_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
  -Woverloaded-virtual -Wnull-dereference -Wformat=2 -Wimplicit-fallthrough)
# The strict set on top: every conversion that narrows a value or changes its
# sign is written out. Linked PRIVATE by every target (ovlet_check_strict).
add_library(ovlet_strict INTERFACE)
target_compile_options(ovlet_strict INTERFACE -Wconversion -Wsign-conversion)

if(WIN32)
  # printf as C99 has it (%zu, %lld), not as the old msvcrt.dll has it.
  target_compile_definitions(ovlet_options INTERFACE __USE_MINGW_ANSI_STDIO=1)
endif()
if(OVLET_WERROR)
  target_compile_options(ovlet_options INTERFACE -Werror)
endif()
if(OVLET_SANITIZE)
  target_compile_options(ovlet_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(ovlet_options INTERFACE -fsanitize=address,undefined)
endif()
if(OVLET_FUZZ)
  target_compile_options(ovlet_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  target_link_options(ovlet_options INTERFACE -fsanitize=address,undefined)
endif()

# The headers of the current folder, and only those, for `target` and (PUBLIC,
# INTERFACE) for what links it, included as from the top folder: "card/x.h".
# The build folder holds an include folder per source folder with a link to
# each of its headers under the folder's own path (include/card/card/x.h), so a
# target sees the headers of its own folder and of the libraries it links, no
# others; a folder inside another (exchange/drawing) has its own.
#   ovlet_expose_headers(TARGET PUBLIC|PRIVATE|INTERFACE)
function(ovlet_expose_headers target scope)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  string(REPLACE "/" "_" key "${folder}")
  set(root ${PROJECT_BINARY_DIR}/include/${key})
  get_property(made GLOBAL PROPERTY OVLET_HEADERS_MADE_${key})
  if(NOT made)
    # Made afresh at each configure: a header removed from the folder goes.
    file(REMOVE_RECURSE ${root})
    file(MAKE_DIRECTORY ${root}/${folder})
    file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    foreach(header IN LISTS headers)
      file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${header} ${root}/${folder}/${header} SYMBOLIC)
    endforeach()
    set_property(GLOBAL PROPERTY OVLET_HEADERS_MADE_${key} TRUE)
  endif()
  target_include_directories(${target} ${scope} ${root})
endfunction()

# A folder's library: ovlet_NAME and its alias ovlet::NAME, its folder's
# headers included as "folder/file.h", the project's flags.
function(ovlet_library name)
  add_library(ovlet_${name} STATIC ${ARGN})
  add_library(ovlet::${name} ALIAS ovlet_${name})
  ovlet_expose_headers(ovlet_${name} PUBLIC)
  target_link_libraries(ovlet_${name} PRIVATE ovlet_options)
endfunction()

# Targets that must stay free of Qt, also through what they link: the card
# and picture libraries, the platform's interfaces, the scripted face and the
# tests that run on it. The check runs once every target is defined (the
# end of the top folder), following each linked library's own libraries.
function(ovlet_forbid_qt target)
  set_property(GLOBAL APPEND PROPERTY OVLET_QT_FREE_TARGETS ${target})
endfunction()

# The library names `target` links, directly and through the libraries it
# links, as "target -> library" chains for the message.
function(_ovlet_linked_closure target out)
  set(seen)
  set(queue ${target})
  set(found)
  while(queue)
    list(POP_FRONT queue current)
    if(current IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${current})
    if(NOT TARGET ${current})
      continue()
    endif()
    get_target_property(type ${current} TYPE)
    set(libs)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(direct ${current} LINK_LIBRARIES)
      if(direct)
        list(APPEND libs ${direct})
      endif()
    endif()
    get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
    if(interface)
      list(APPEND libs ${interface})
    endif()
    foreach(lib IN LISTS libs)
      # $<LINK_ONLY:X> and similar wrappers name X.
      string(REGEX REPLACE "^\\$<[A-Z_]+:(.*)>$" "\\1" lib "${lib}")
      string(REGEX REPLACE "^::@.*" "" lib "${lib}")
      if(lib STREQUAL "")
        continue()
      endif()
      list(APPEND found "${current} -> ${lib}")
      list(APPEND queue ${lib})
    endforeach()
  endwhile()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

function(ovlet_check_qt_free)
  get_property(targets GLOBAL PROPERTY OVLET_QT_FREE_TARGETS)
  foreach(target IN LISTS targets)
    _ovlet_linked_closure(${target} links)
    foreach(link IN LISTS links)
      if(link MATCHES "-> (Qt[0-9]*::|Qt[0-9]*[A-Z]|ovlet_platform_qt$|ovlet::platform_qt$)")
        message(FATAL_ERROR "${target} must not link Qt, but links it: ${link}")
      endif()
    endforeach()
  endforeach()
endfunction()

# Every target of every folder builds under the strict set: one added without
# ovlet_strict stops the configure. Only stb_image's reference build is left
# out: outside code, built as its authors wrote it and with its warnings off,
# that the picture decoders are measured against.
set(OVLET_NOT_STRICT_TARGETS picture_bench_stb)

function(ovlet_check_strict)
  set(queue ${PROJECT_SOURCE_DIR})
  while(queue)
    list(POP_FRONT queue dir)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    list(APPEND queue ${subdirs})
    file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${dir})
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(type ${target} TYPE)
      if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$"
         OR target IN_LIST OVLET_NOT_STRICT_TARGETS)
        continue()
      endif()
      get_target_property(links ${target} LINK_LIBRARIES)
      if(NOT "ovlet_strict" IN_LIST links)
        message(FATAL_ERROR "${target} (${folder}) must link ovlet_strict, as every target of the project does")
      endif()
    endforeach()
  endwhile()
endfunction()

# Hardening, as Debian asks of the programs it ships: position-independent
# executables, relocations made read-only and bound at start (full RELRO),
# checked string and memory functions, stack protector. Not in the sanitizer
# and fuzz builds, which instrument the same places their own way; the checked
# functions need an optimising build.
option(OVLET_HARDEN "Build hardened programs (PIE, full RELRO, fortified functions, stack protector)" ON)
if(OVLET_HARDEN AND WIN32)
  # Windows programs: address-space layout randomisation (64-bit, relocatable)
  # and no execution of data pages. ELF's RELRO and PIE have no meaning there.
  target_link_options(ovlet_options INTERFACE LINKER:--dynamicbase LINKER:--high-entropy-va LINKER:--nxcompat)
elseif(OVLET_HARDEN AND NOT OVLET_SANITIZE AND NOT OVLET_FUZZ)
  include(CheckPIESupported)
  include(CheckCXXCompilerFlag)
  check_pie_supported()
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  target_compile_options(ovlet_options INTERFACE -fstack-protector-strong
    "$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
  check_cxx_compiler_flag(-fstack-clash-protection OVLET_HAVE_STACK_CLASH_PROTECTION)
  if(OVLET_HAVE_STACK_CLASH_PROTECTION)
    target_compile_options(ovlet_options INTERFACE -fstack-clash-protection)
  endif()
  target_link_options(ovlet_options INTERFACE LINKER:-z,relro LINKER:-z,now)
endif()
