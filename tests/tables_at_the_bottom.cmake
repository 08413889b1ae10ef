# The plug-in's tables sit at the bottom of its layers: the rules, the level and upgrade
# tables, the menu's rows and the settings file's keys include one another and the virtual
# key codes, and nothing else of ours: never the mod state, nor any code that reads it.
cmake_policy(VERSION 3.25)
set(tables rules.h encounter/levels.h encounter/upgrades.h menu/menu_rows.h settings/settings_file.h)
set(allowed ${tables} virtual_keys.h)
foreach(table IN LISTS tables)
  execute_process(COMMAND ${CXX} -std=c++20 -I${SOURCE}/src -I${SOURCE}/platform -MM -x c++ ${SOURCE}/src/${table}
                  OUTPUT_VARIABLE rule RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot list what ${table} includes")
  endif()
  string(REGEX REPLACE "^[^:]*:" "" rule "${rule}")
  string(REPLACE "\\\n" " " rule "${rule}")
  separate_arguments(included UNIX_COMMAND "${rule}")
  foreach(header IN LISTS included)
    string(REGEX REPLACE "^${SOURCE}/(src|platform)/" "" header "${header}")
    string(REGEX REPLACE "^(src|platform)/" "" header "${header}")
    if(NOT header IN_LIST allowed)
      message(FATAL_ERROR "${table} includes ${header}, which is not a table")
    endif()
  endforeach()
endforeach()
