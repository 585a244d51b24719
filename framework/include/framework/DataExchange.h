#pragma once

#include "framework/CDataExchange.h"
#include "base/CString.h"

class CWnd;

// The exchange routines of the dialogs. Text is the program's 8-bit ANSI text.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
void DDX_Text(CDataExchange* pDX, int id, CString& value);
void DDX_Text(CDataExchange* pDX, int id, int& value);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minimum, int maximum);
// Counts bytes of the ANSI text.
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int maximum);
