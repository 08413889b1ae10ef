# cmake -DSOURCE=DIR -DBINARY=DIR -DTARGET="NAME..." -P linux_program.cmake: builds programs of
# the linux preset for a cross build that runs them (the windows preset's comparisons of the
# level runs and of the soaks), configuring the linux preset into BINARY first when it has no
# build there.
if(NOT EXISTS ${BINARY}/CMakeCache.txt)
  execute_process(COMMAND ${CMAKE_COMMAND} --preset linux -B ${BINARY}
                  WORKING_DIRECTORY ${SOURCE} COMMAND_ERROR_IS_FATAL ANY)
endif()
separate_arguments(TARGETS UNIX_COMMAND "${TARGET}")
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY} --target ${TARGETS} COMMAND_ERROR_IS_FATAL ANY)
