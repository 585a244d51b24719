# Builds tests/package/project for Windows against the package installed from this tree: twice
# with Ninja (found through CMAKE_PREFIX_PATH), once with Makefiles (through Revtally_DIR). Each
# build raises the script's build number by one; the program carries the script's numbers.
file(REMOVE_RECURSE ${WORK})
file(COPY ${PROJECT}/ DESTINATION ${WORK}/src)

# Fails the test when the command fails; "versions": the version statements in its output.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE failed OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(failed)
    message(FATAL_ERROR "${ARGN}\n${out}")
  endif()
  string(REGEX MATCHALL "(FILE|PRODUCT)VERSION [0-9, ]+[0-9]" found "${out}")
  string(REPLACE " " "" found "${found}")
  set(versions "${found}" PARENT_SCOPE)
endfunction()

function(build_and_check dir build)
  run(${CMAKE_COMMAND} --build ${WORK}/${dir} --parallel 2)
  run(${CMAKE_COMMAND} -E cat ${WORK}/src/app.rc)
  set(script "${versions}")
  run(${WINDRES} -i ${WORK}/${dir}/app.exe -O rc)
  if(NOT script STREQUAL "FILEVERSION1,2,3,${build};PRODUCTVERSION1,2,3,${build}"
     OR NOT versions STREQUAL script)
    message(FATAL_ERROR "${dir}: build ${build} wanted; script ${script}, program ${versions}")
  endif()
endfunction()

run(${CMAKE_COMMAND} --install ${TREE} --prefix ${WORK}/prefix)
set(cross -S ${WORK}/src -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN})
run(${CMAKE_COMMAND} ${cross} -B ${WORK}/ninja -G Ninja -DCMAKE_PREFIX_PATH=${WORK}/prefix)
build_and_check(ninja 42)
build_and_check(ninja 43) # nothing changed: stamped and compiled again all the same

set(make ${CMAKE_COMMAND} ${cross} -B ${WORK}/make -G "Unix Makefiles"
  -DRevtally_DIR=${WORK}/prefix/lib/cmake/Revtally)
execute_process(COMMAND ${make} -DAPP_SCRIPT=other.rc RESULT_VARIABLE failed ERROR_VARIABLE out)
string(REGEX REPLACE "[ \n]+" " " out "${out}")
if(NOT failed OR NOT out MATCHES "other.rc .* is not one of the sources of target app\\.")
  message(FATAL_ERROR "a script the program does not compile was accepted:\n${out}")
endif()
run(${make} -DAPP_SCRIPT=app.rc)
build_and_check(make 44)
