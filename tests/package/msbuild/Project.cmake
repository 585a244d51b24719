# The project both engines build, laid out anew in WORK: app.vcxproj, the version script, a script
# of strings alone (never stamped), an empty source and an empty header to touch.
file(REMOVE_RECURSE ${WORK})
file(COPY ${PROJECT}/app.vcxproj ${SCRIPT} DESTINATION ${WORK})
file(WRITE ${WORK}/strings.rc "STRINGTABLE\r\nBEGIN\r\n    1 \"no version here\"\r\nEND\r\n")
file(WRITE ${WORK}/main.c "")
file(WRITE ${WORK}/app.h "")
