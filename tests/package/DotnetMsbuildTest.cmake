# Builds tests/package/msbuild/app.vcxproj, a project in the shape of a Visual C++ one, under
# `dotnet msbuild` (the engine of Visual Studio's MSBuild), with Revtally.exe under Wine as the
# program. MODE import: Revtally.targets by the <Import> line; MODE package: the NuGet package in
# FEED, restored from that folder alone, its own program from its tools folder.
if(NOT DOTNET)
  message("Skipped: dotnet is not on PATH (the .NET SDK, which Debian does not package); the "
    "xbuild test covers the targets")
  return()
endif()
include(${PROJECT}/Project.cmake)
set(env DOTNET_NOLOGO=1 DOTNET_CLI_TELEMETRY_OPTOUT=1 MSBUILDDISABLENODEREUSE=1
  NUGET_PACKAGES=${WORK}/packages --unset=CI)
set(msbuild ${CMAKE_COMMAND} -E env ${env} ${DOTNET} msbuild -nologo -v:n -m:1 -nodeReuse:false)

if(MODE STREQUAL package)
  file(WRITE ${WORK}/nuget.config "<configuration><packageSources><clear />
<add key=\"revtally\" value=\"${FEED}\" /></packageSources></configuration>\n")
  set(props -p:RevtallyVersion=${VERSION})
  execute_process(COMMAND ${msbuild} -t:Restore -p:NuGetAudit=false ${props} app.vcxproj
    WORKING_DIRECTORY ${WORK} RESULT_VARIABLE failed OUTPUT_VARIABLE out ERROR_VARIABLE out)
  execute_process(COMMAND ${msbuild} -getProperty:RevtallyProgram ${props} app.vcxproj
    WORKING_DIRECTORY ${WORK} OUTPUT_VARIABLE program OUTPUT_STRIP_TRAILING_WHITESPACE)
  string(REPLACE "\\" "/" program "${program}")
  if(failed OR NOT EXISTS "${program}" OR NOT program MATCHES "/packages/revtally/${VERSION}/")
    message(FATAL_ERROR "restore failed, or its targets find no program (${program}):\n${out}")
  endif()
else()
  set(program ${PROGRAM})
  set(props -p:RevtallyTargets=${TARGETS})
endif()
# The program under Wine, which sees the host's root as drive Z:. A path starting with "/" would
# be a switch to it.
file(WRITE ${WORK}/revtally "#!/bin/sh
n=$#
for arg; do
  case $arg in /*) arg=\"Z:$(printf '%s' \"$arg\" | tr / '\\\\')\" ;; esac
  set -- \"$@\" \"$arg\"
done
shift $n
exec '${WINE_RUN}' '${program}' \"$@\"
")
file(CHMOD ${WORK}/revtally PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
string(REPLACE "/" "\\" windows_script "Z:${WORK}/app.rc")

# One build: fails the test unless it ends as `result` says (0 or 1), the script and the linked
# program hold build `number`, and it stamped `stamps` times. "out": its output.
function(build result number stamps)
  execute_process(COMMAND ${msbuild} ${props} -p:RevtallyProgram=${WORK}/revtally ${ARGN} app.vcxproj
    WORKING_DIRECTORY ${WORK} RESULT_VARIABLE failed OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(failed)
    set(failed 1)
  endif()
  file(STRINGS ${WORK}/app.rc script REGEX "^ FILEVERSION")
  file(STRINGS ${WORK}/out/app.exe linked REGEX "^ FILEVERSION")
  string(REGEX MATCHALL "\n +\"[^\"\n]*/revtally\" [^\n]*app\\.rc\"" stamped "${out}")
  list(LENGTH stamped count)
  if(NOT failed EQUAL result OR NOT script STREQUAL " FILEVERSION 1, 2, 3, ${number}"
     OR NOT count EQUAL stamps OR (NOT result AND NOT linked STREQUAL script))
    message(FATAL_ERROR "${ARGN}: exit ${result}, build ${number} and ${stamps} stamps wanted; "
      "exit ${failed}, script ${script}, program ${linked}, ${count} stamps:\n${out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

# A build that compiles nothing raises nothing; one that compiles a source again stamps once.
build(0 42 1 -p:RevtallyNoWindow=true)
build(0 42 0 -p:RevtallyNoWindow=true)
if(out MATCHES "stand-in: ")
  message(FATAL_ERROR "a build with nothing changed compiled or linked:\n${out}")
endif()
file(TOUCH ${WORK}/main.c)
build(0 43 1 -p:RevtallyNoWindow=true)
file(TOUCH ${WORK}/app.h)
build(0 44 1 -p:RevtallyNoWindow=true)
build(0 45 1 -p:RevtallyNoWindow=true -p:RevtallyEveryBuild=true)
build(0 46 1 -p:RevtallyNoWindow=true -p:RevtallyEveryBuild=true)
if(MODE STREQUAL package)
  return()
endif()

file(TOUCH ${WORK}/main.c)
build(0 46 0 -p:RevtallyNoWindow=true -p:RevtallyStamp=false)
build(0 47 1 -p:RevtallyEveryBuild=true -p:ContinuousIntegrationBuild=true)
if(NOT out MATCHES "revtally\" +-n \"")
  message(FATAL_ERROR "a build server's stamp without -n:\n${out}")
endif()

# The program's line for a read-only script is MSBuild's warning, with its code and the script
# as its file; a team may make that code an error.
file(CHMOD ${WORK}/app.rc PERMISSIONS OWNER_READ GROUP_READ WORLD_READ)
set(every -p:RevtallyNoWindow=true -p:RevtallyEveryBuild=true)
build(0 47 1 ${every})
string(REGEX MATCH "\n *([^\n]*) : warning RVT0102: " warning "${out}")
if(NOT CMAKE_MATCH_1 STREQUAL windows_script)
  message(FATAL_ERROR "no warning RVT0102 for ${windows_script}:\n${out}")
endif()
build(1 47 1 ${every} -warnaserror:RVT0102)
build(0 47 1 ${every} -warnaserror:RVT0101)
file(CHMOD ${WORK}/app.rc PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# A script that is missing, or is no file, is one warning each; the others are still stamped,
# and only the resource step fails.
file(MAKE_DIRECTORY ${WORK}/folder.rc)
build(1 48 1 ${every} -p:MissingScript=gone.rc -p:UnreadableScript=folder.rc)
string(REGEX MATCHALL "[^ >\n]+ ?: (warning|error) [A-Z]+[0-9]+: [^\n]*" lines "${out}")
list(REMOVE_DUPLICATES lines)
list(FILTER lines INCLUDE REGEX "RVT|Revtally")
string(REGEX MATCHALL "(gone|folder)\\.rc : warning RVT0102: " named "${lines}")
list(LENGTH lines count)
if(NOT count EQUAL 2 OR NOT named STREQUAL "gone.rc : warning RVT0102: ;folder.rc : warning RVT0102: ")
  message(FATAL_ERROR "one warning each for gone.rc and folder.rc wanted, nothing else:\n${out}")
endif()
