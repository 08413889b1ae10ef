# Programs that run on the build machine during a cross build (the cue generator, the PE
# checker): compiled from one source file by the build machine's own C++ compiler.
find_program(HOST_CXX NAMES c++ g++ clang++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)

# add_host_executable(TARGET SOURCE): builds ${CMAKE_BINARY_DIR}/host/TARGET with the default
# build, as a custom target of that name, and sets ${TARGET}_PATH in the caller's scope.
function(add_host_executable target source)
  set(output ${CMAKE_BINARY_DIR}/host/${target})
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
    COMMAND ${HOST_CXX} -std=c++20 -O2 -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Werror
            -ffp-contract=off -o ${output} ${source}
    DEPENDS ${source}
    COMMENT "Building ${target} for the build machine"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${output})
  set(${target}_PATH ${output} PARENT_SCOPE)
endfunction()
