# Programs that run on the build machine during a cross build (the cue generator, the PE
# checker, the settings-file comparison, the level runs on Linux): compiled by the build
# machine's own C++ compiler.
find_program(HOST_CXX NAMES c++ g++ clang++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
set(HOST_CXX_FLAGS -std=c++20 -O2 -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Werror -ffp-contract=off)

# add_host_executable(TARGET SOURCE... [INCLUDES DIR...]): builds ${CMAKE_BINARY_DIR}/host/TARGET
# with the default build, as a custom target of that name, and sets ${TARGET}_PATH in the
# caller's scope. Each source is compiled on its own (in parallel, and again only when it or
# a header it includes changed), then the objects are linked.
function(add_host_executable target)
  cmake_parse_arguments(PARSE_ARGV 1 HOST "" "" "INCLUDES")
  set(includes)
  foreach(folder ${HOST_INCLUDES})
    list(APPEND includes -I${folder})
  endforeach()
  set(folder ${CMAKE_BINARY_DIR}/host/${target}.objects)
  set(objects)
  foreach(source ${HOST_UNPARSED_ARGUMENTS})
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${source})
    string(MAKE_C_IDENTIFIER ${relative} stem)
    set(object ${folder}/${stem}.o)
    add_custom_command(
      OUTPUT ${object}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
      COMMAND ${HOST_CXX} ${HOST_CXX_FLAGS} ${includes} -MD -MF ${object}.d -c ${source} -o ${object}
      DEPENDS ${source}
      DEPFILE ${object}.d
      COMMENT "Building ${relative} for the build machine"
      VERBATIM)
    list(APPEND objects ${object})
  endforeach()
  set(output ${CMAKE_BINARY_DIR}/host/${target})
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${HOST_CXX} -o ${output} ${objects}
    DEPENDS ${objects}
    COMMENT "Linking ${target} for the build machine"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${output})
  set(${target}_PATH ${output} PARENT_SCOPE)
endfunction()
