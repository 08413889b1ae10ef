# cmake -DSOURCE=DIR -DBINARY=DIR -DTARGET=NAME -P linux_program.cmake: builds a program of
# the linux preset for a cross build that runs it (the windows preset's comparison of the
# level runs), configuring the linux preset into BINARY first when it has no build there.
if(NOT EXISTS ${BINARY}/CMakeCache.txt)
  execute_process(COMMAND ${CMAKE_COMMAND} --preset linux -B ${BINARY}
                  WORKING_DIRECTORY ${SOURCE} COMMAND_ERROR_IS_FATAL ANY)
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY} --target ${TARGET} COMMAND_ERROR_IS_FATAL ANY)
