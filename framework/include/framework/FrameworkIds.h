// The framework's own ids: the commands its windows route and the string-table entries of its
// data-exchange messages, which the program's resources provide. The program's resource.h
// includes this file, so that the resource script and the code name each id once.
#pragma once

#define ID_APP_EXIT 57665
#define ID_HELP 57670

#define AFX_IDP_PARSE_INT 0xF110
#define AFX_IDP_PARSE_INT_RANGE 0xF112   // %1 and %2: the bounds
#define AFX_IDP_PARSE_STRING_SIZE 0xF114 // %1: the longest text

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
