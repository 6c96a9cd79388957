# Configures the source tree in a scratch folder once with every optional
# part switched off and once with each switched off alone; fails on the
# first configuration that does not succeed.
#   cmake -DSOURCE=... -DSCRATCH=... -P configure_options_off.cmake
set(options TENGLAN_CLI TENGLAN_GUI TENGLAN_TESTS TENGLAN_BENCH TENGLAN_FUZZ)
set(all_off)
foreach(option IN LISTS options)
  list(APPEND all_off -D${option}=OFF)
endforeach()
set(runs "ALL")
list(APPEND runs ${options})
foreach(run IN LISTS runs)
  file(REMOVE_RECURSE ${SCRATCH})
  if(run STREQUAL "ALL")
    set(flags ${all_off})
  else()
    set(flags -D${run}=OFF)
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${SCRATCH} ${flags}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "configuring with ${flags} failed:\n${err}")
  endif()
  message(STATUS "configures with ${flags}")
endforeach()
file(REMOVE_RECURSE ${SCRATCH})
