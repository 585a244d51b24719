#pragma once

#include "framework/CDataExchange.h"
#include "framework/CString.h"

class CWnd;

// The string-table entries of the exchange's messages, which the program's resources provide.
inline constexpr unsigned kParseIntPrompt = 0xF110;        // AFX_IDP_PARSE_INT
inline constexpr unsigned kParseIntRangePrompt = 0xF112;   // AFX_IDP_PARSE_INT_RANGE, %1 and %2
inline constexpr unsigned kParseStringSizePrompt = 0xF114; // AFX_IDP_PARSE_STRING_SIZE, %1

// The exchange routines of the dialogs. Text is the program's 8-bit ANSI text.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
void DDX_Text(CDataExchange* pDX, int id, CString& value);
void DDX_Text(CDataExchange* pDX, int id, int& value);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minimum, int maximum);
// Counts bytes of the ANSI text.
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int maximum);
