include(GoogleTest)

# Registers a GoogleTest program's cases with ctest:
#   ovlet_gtest(target [TEST_PREFIX p] [SHARDS n] [PROPERTIES ...])
# Natively each case is a test of its own, listed when the tests run. Under
# an emulator (the Windows build, run under Wine) starting a program costs a
# second or more, more than most cases take: there the program runs in SHARDS
# processes (GoogleTest's own sharding, default one), each a test named
# <prefix><target>/<shard>, and its output names the case that failed.
function(ovlet_gtest target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "TEST_PREFIX;SHARDS" "PROPERTIES")
  if(NOT CMAKE_CROSSCOMPILING)
    set(extra)
    if(arg_TEST_PREFIX)
      list(APPEND extra TEST_PREFIX "${arg_TEST_PREFIX}")
    endif()
    if(arg_PROPERTIES)
      list(APPEND extra PROPERTIES ${arg_PROPERTIES})
    endif()
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES ${extra})
    return()
  endif()
  if(NOT arg_SHARDS)
    set(arg_SHARDS 1)
  endif()
  math(EXPR last "${arg_SHARDS} - 1")
  foreach(shard RANGE ${last})
    set(name "${arg_TEST_PREFIX}${target}/${shard}")
    add_test(NAME "${name}" COMMAND ${target} --gtest_brief=1)
    if(arg_PROPERTIES)
      set_tests_properties("${name}" PROPERTIES ${arg_PROPERTIES})
    endif()
    set_tests_properties("${name}" PROPERTIES
      ENVIRONMENT_MODIFICATION "GTEST_TOTAL_SHARDS=set:${arg_SHARDS};GTEST_SHARD_INDEX=set:${shard}")
  endforeach()
endfunction()
