# Programs that run on the build machine during a cross build (the cue generator, the PE
# checker, the settings-file comparison): compiled by the build machine's own C++ compiler.
find_program(HOST_CXX NAMES c++ g++ clang++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)

# add_host_executable(TARGET SOURCE... [INCLUDES DIR...]): builds ${CMAKE_BINARY_DIR}/host/TARGET
# with the default build, as a custom target of that name, and sets ${TARGET}_PATH in the
# caller's scope.
function(add_host_executable target)
  cmake_parse_arguments(PARSE_ARGV 1 HOST "" "" "INCLUDES")
  set(sources ${HOST_UNPARSED_ARGUMENTS})
  set(includes)
  foreach(folder ${HOST_INCLUDES})
    list(APPEND includes -I${folder})
  endforeach()
  set(output ${CMAKE_BINARY_DIR}/host/${target})
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
    COMMAND ${HOST_CXX} -std=c++20 -O2 -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Werror
            -ffp-contract=off ${includes} -o ${output} ${sources}
    DEPENDS ${sources}
    COMMENT "Building ${target} for the build machine"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${output})
  set(${target}_PATH ${output} PARENT_SCOPE)
endfunction()
