# Flags travel on interface targets: every project target links ovlet_options.
add_library(ovlet_options INTERFACE)
target_compile_options(ovlet_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
  -Woverloaded-virtual -Wnull-dereference -Wformat=2 -Wimplicit-fallthrough)
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

# The card and picture libraries must stay free of Qt; call this on them.
function(ovlet_forbid_qt target)
  get_target_property(libs ${target} LINK_LIBRARIES)
  foreach(lib IN LISTS libs)
    if(lib MATCHES "Qt")
      message(FATAL_ERROR "${target} must not link Qt (found ${lib})")
    endif()
  endforeach()
endfunction()
