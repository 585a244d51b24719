# Builds tests/package/project for Windows against the package installed from this tree, with
# Ninja (found through CMAKE_PREFIX_PATH) and with Makefiles (through Revtally_DIR). A build that
# compiles something raises the script's build number by one, a build that compiles nothing
# stamps and links nothing, EVERY_BUILD stamps in every build; the program carries the script's
# numbers.
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
  set(out "${out}" PARENT_SCOPE)
endfunction()

function(build_and_check dir build stamps_wanted)
  run(${CMAKE_COMMAND} --build ${WORK}/${dir} --parallel 2)
  set(built "${out}")
  string(REGEX MATCHALL "Stamping the build number" stamps "${out}")
  list(LENGTH stamps stamps)
  if(NOT stamps EQUAL stamps_wanted OR (NOT stamps AND out MATCHES "[Ll]inking"))
    message(FATAL_ERROR "${dir}: ${stamps_wanted} stamps wanted, ${stamps} made:\n${out}")
  endif()
  run(${CMAKE_COMMAND} -E cat ${WORK}/src/app.rc)
  set(script "${versions}")
  run(${WINDRES} -i ${WORK}/${dir}/app.exe -O rc)
  if(NOT script STREQUAL "FILEVERSION1,2,3,${build};PRODUCTVERSION1,2,3,${build}"
     OR NOT versions STREQUAL script)
    message(FATAL_ERROR "${dir}: build ${build} wanted; script ${script}, program ${versions}")
  endif()
  set(built "${built}" PARENT_SCOPE)
endfunction()

# Builds with nothing changed, one with a changed source, two with EVERY_BUILD; `dir` was
# configured and not built.
function(builds dir first)
  build_and_check(${dir} ${first} 1)
  build_and_check(${dir} ${first} 0)
  if(dir STREQUAL ninja AND NOT built MATCHES "ninja: no work to do")
    message(FATAL_ERROR "a second Ninja build had work to do:\n${built}")
  endif()
  file(TOUCH ${WORK}/src/main.c)
  math(EXPR next "${first} + 1")
  build_and_check(${dir} ${next} 1)
  run(${CMAKE_COMMAND} -DAPP_KEYWORDS=EVERY_BUILD ${WORK}/${dir})
  math(EXPR next "${first} + 2")
  build_and_check(${dir} ${next} 1)
  math(EXPR next "${first} + 3")
  build_and_check(${dir} ${next} 1)
endfunction()

run(${CMAKE_COMMAND} --install ${TREE} --prefix ${WORK}/prefix)
set(cross -S ${WORK}/src -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN})
run(${CMAKE_COMMAND} ${cross} -B ${WORK}/ninja -G Ninja -DCMAKE_PREFIX_PATH=${WORK}/prefix)
builds(ninja 42)

set(make ${CMAKE_COMMAND} ${cross} -B ${WORK}/make -G "Unix Makefiles"
  -DRevtally_DIR=${WORK}/prefix/lib/cmake/Revtally)
execute_process(COMMAND ${make} -DAPP_SCRIPT=other.rc RESULT_VARIABLE failed ERROR_VARIABLE out)
string(REGEX REPLACE "[ \n]+" " " out "${out}")
if(NOT failed OR NOT out MATCHES "other.rc .* is not one of the sources of target app\\.")
  message(FATAL_ERROR "a script the program does not compile was accepted:\n${out}")
endif()
run(${make} -DAPP_SCRIPT=app.rc)
builds(make 46)
