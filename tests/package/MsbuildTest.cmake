# Builds tests/package/msbuild/app.vcxproj, a project in the shape of a Visual C++ one, with
# xbuild (Mono's MSBuild engine, for machines without the .NET SDK) and Revtally.targets, the
# native program in place of Revtally.exe. A build that compiles something stamps app.rc once,
# before its resource step; one that compiles nothing stamps nothing; a configuration switches
# stamping off, a property gives the build number, a build server gets -n. The script of strings
# alone is never stamped.
if(NOT EXISTS "${XBUILD}")
  message(FATAL_ERROR "xbuild not found: scripts/setup.sh installs it (Debian's mono-xbuild)")
endif()
include(${PROJECT}/Project.cmake)

function(build expected)
  execute_process(COMMAND ${XBUILD} /nologo /v:normal /p:RevtallyTargets=${TARGETS}
    /p:RevtallyProgram=${PROGRAM} ${ARGN} app.vcxproj
    WORKING_DIRECTORY ${WORK} RESULT_VARIABLE failed OUTPUT_VARIABLE out ERROR_VARIABLE out)
  file(STRINGS ${WORK}/app.rc script REGEX "^ FILEVERSION")
  file(STRINGS ${WORK}/out/app.exe compiled REGEX "^ FILEVERSION")
  if(failed OR NOT script STREQUAL " FILEVERSION 1, 2, 3, ${expected}" OR NOT compiled STREQUAL script)
    message(FATAL_ERROR "${ARGN}: build ${expected} wanted; script ${script}, compiled ${compiled}\n${out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

build(42)
build(42)
file(TOUCH ${WORK}/main.c)
build(43)
file(TOUCH ${WORK}/main.c)
build(43 /p:Configuration=Release)
build(7 /p:RevtallyBuildNumber=7 /p:RevtallyEveryBuild=true)
build(8 /p:ContinuousIntegrationBuild=true /p:RevtallyEveryBuild=true)
if(NOT out MATCHES "revtally\" +-n \"")
  message(FATAL_ERROR "a build server's stamp without -n:\n${out}")
endif()
file(STRINGS ${WORK}/app_ver.txt entries REGEX "\tbuild ")
list(LENGTH entries count)
if(NOT count EQUAL 4 OR EXISTS ${WORK}/strings_ver.txt)
  message(FATAL_ERROR "4 history entries of app.rc and none of strings.rc wanted: ${entries}")
endif()
