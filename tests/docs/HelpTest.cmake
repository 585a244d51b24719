# The help file Revtally.exe opens holds the first page that leads to each language, and every
# page in both: an English page has its Japanese one, and a Japanese page its English one.
execute_process(COMMAND ${CHMLS} ${CHM} RESULT_VARIABLE failed OUTPUT_VARIABLE listing
  ERROR_VARIABLE listing)
file(GLOB english RELATIVE ${PAGES}/en ${PAGES}/en/*.html)
file(GLOB japanese RELATIVE ${PAGES}/ja ${PAGES}/ja/*.html)
if(failed OR NOT english STREQUAL japanese OR NOT listing MATCHES " /index.html\n")
  message(FATAL_ERROR "English pages: ${english}\nJapanese pages: ${japanese}\n${listing}")
endif()
foreach(page IN LISTS english)
  foreach(language en ja)
    if(NOT listing MATCHES " /${language}/${page}\n")
      message(FATAL_ERROR "${language}/${page} is not in ${CHM}:\n${listing}")
    endif()
  endforeach()
endforeach()
