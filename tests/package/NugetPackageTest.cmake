# Makes the release packages as the package target does, into OUT, and checks the NuGet
# package's entries against its layout and its manifest; the ZIP keeps Revtally.targets beside
# Revtally.exe for the <Import> line.
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND cpack --config ${TREE}/CPackConfig.cmake -B ${OUT}
  RESULT_VARIABLE failed OUTPUT_VARIABLE out ERROR_VARIABLE out)
set(nupkg ${OUT}/Revtally.${VERSION}.nupkg)
if(failed OR NOT EXISTS ${nupkg})
  message(FATAL_ERROR "no ${nupkg}:\n${out}")
endif()

function(entries archive)
  execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${archive} OUTPUT_VARIABLE listed)
  string(REGEX REPLACE "\n$" "" listed "${listed}")
  string(REPLACE "\n" ";" listed "${listed}")
  list(SORT listed)
  set(listed "${listed}" PARENT_SCOPE)
endfunction()

entries(${nupkg})
set(layout LICENSE README.md Revtally.nuspec [Content_Types].xml _rels/.rels
  build/native/Revtally.targets tools/Revtally.chm tools/Revtally.exe)
if(NOT listed STREQUAL layout)
  message(FATAL_ERROR "the package holds\n  ${listed}\nnot\n  ${layout}")
endif()
entries(${OUT}/Revtally-${VERSION}-win64.zip)
list(FILTER listed INCLUDE REGEX "/Revtally\\.(targets|exe)$")
string(REGEX REPLACE "/Revtally\\.(targets|exe)" "" folders "${listed}")
list(REMOVE_DUPLICATES folders)
list(LENGTH folders count)
if(NOT count EQUAL 1 OR NOT listed MATCHES "targets")
  message(FATAL_ERROR "the ZIP has no Revtally.targets beside Revtally.exe: ${listed}")
endif()

file(ARCHIVE_EXTRACT INPUT ${nupkg} DESTINATION ${OUT}/unpacked PATTERNS Revtally.nuspec)
file(READ ${OUT}/unpacked/Revtally.nuspec nuspec)
foreach(wanted "<id>Revtally</id>" "<version>${VERSION}</version>"
    "<developmentDependency>true</developmentDependency>" "<license type=\"file\">LICENSE</license>"
    "<readme>README.md</readme>" "<description>[^<]+</description>" "<authors>[^<]+</authors>")
  if(NOT nuspec MATCHES "${wanted}")
    message(FATAL_ERROR "the manifest lacks ${wanted}:\n${nuspec}")
  endif()
endforeach()
if(nuspec MATCHES "<(projectUrl|icon|iconUrl|licenseUrl|dependencies)>")
  message(FATAL_ERROR "the manifest names ${CMAKE_MATCH_1}, which the project does not have:\n${nuspec}")
endif()
