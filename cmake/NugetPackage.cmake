# Makes the NuGet package Revtally.<version>.nupkg from the release ZIP, beside it: run by CPack
# after the ZIP (CPACK_POST_BUILD_SCRIPTS), so both hold the same stripped program. A .nupkg is a
# ZIP with the manifest (.nuspec), [Content_Types].xml and _rels/.rels, so no NuGet client is
# needed. The layout:
#   build/native/Revtally.targets   imported by NuGet into Visual C++ projects, through
#                                   packages.config and PackageReference alike ("native" is the
#                                   target framework NuGet gives every C++ project)
#   tools/Revtally.exe, .chm        found by the targets relative to themselves; no project
#                                   type takes anything from tools/ as an asset
#   Revtally.nuspec, README.md, LICENSE
foreach(zip IN LISTS CPACK_PACKAGE_FILES)
  if(NOT zip MATCHES "\\.zip$")
    continue()
  endif()
  get_filename_component(work "${zip}" DIRECTORY)
  set(work "${work}/_nupkg")
  file(REMOVE_RECURSE "${work}")
  file(ARCHIVE_EXTRACT INPUT "${zip}" DESTINATION "${work}/zip")
  file(GLOB from LIST_DIRECTORIES true "${work}/zip/*")
  set(pack "${work}/pack")
  file(COPY "${from}/Revtally.targets" DESTINATION "${pack}/build/native")
  file(COPY "${from}/Revtally.exe" DESTINATION "${pack}/tools")
  set(entries "[Content_Types].xml" _rels/.rels Revtally.nuspec README.md LICENSE
    build/native/Revtally.targets tools/Revtally.exe)
  if(EXISTS "${from}/Revtally.chm")
    file(COPY "${from}/Revtally.chm" DESTINATION "${pack}/tools")
    list(APPEND entries tools/Revtally.chm)
  endif()
  file(COPY "${from}/README.md" "${from}/LICENSE" "${CPACK_REVTALLY_NUSPEC}" DESTINATION "${pack}")
  file(WRITE "${pack}/[Content_Types].xml" [[<?xml version="1.0" encoding="utf-8"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">
  <Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml" />
  <Default Extension="nuspec" ContentType="application/octet" />
  <Default Extension="targets" ContentType="application/octet" />
  <Default Extension="exe" ContentType="application/octet" />
  <Default Extension="chm" ContentType="application/octet" />
  <Default Extension="md" ContentType="application/octet" />
  <Override PartName="/LICENSE" ContentType="application/octet" />
</Types>
]])
  file(WRITE "${pack}/_rels/.rels" [[<?xml version="1.0" encoding="utf-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
  <Relationship Type="http://schemas.microsoft.com/packaging/2010/07/manifest" Target="/Revtally.nuspec" Id="R0" />
</Relationships>
]])
  set(nupkg "${CPACK_PACKAGE_DIRECTORY}/Revtally.${CPACK_REVTALLY_VERSION}.nupkg")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${nupkg}" --format=zip -- ${entries}
    WORKING_DIRECTORY "${pack}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "could not make ${nupkg}")
  endif()
  file(REMOVE_RECURSE "${work}")
  message(STATUS "NuGet package: ${nupkg} generated.")
endforeach()
