// Resource and control identifiers of the program, and its own window messages.
#pragma once

#include "framework/FrameworkIds.h"

#define IDM_ABOUTBOX 16
#define IDS_ABOUTBOX 101
#define IDD_MAIN_DIALOG 102
#define IDR_MAINFRAME 128

#define IDC_PROJECT_LIST 1001
#define IDC_MAJOR_UP 1002
#define IDC_NAME 1003
#define IDC_MAJOR 1004
#define IDC_MINOR 1005
#define IDC_SUB 1006
#define IDC_BUILD 1007
#define IDC_DIRECTORY 1008
#define IDC_MAJOR_SPIN 1009
#define IDC_MINOR_SPIN 1010
#define IDC_SUB_SPIN 1011
#define IDC_BUILD_SPIN 1012
#define IDC_MINOR_UP 1013
#define IDC_SUB_UP 1014
#define IDC_BUILD_UP 1015
#define IDC_HISTORY 1016
#define IDC_LAST_UPDATE 1017
#define IDC_DELETE 1018
#define IDC_VERSION 1020
#define IDC_ADD 1021
#define IDC_MODIFY 1022

#define IDR_TRAY_MENU 129
#define ID_TRAY_SHOW 32774

#define IDD_ABOUTBOX 100
#define IDS_HELP_NO_VIEWER 106
#define IDS_HELP_NOT_FOUND 107
#define IDD_DIRECTORY 131
#define IDS_HISTORY_NOT_FOUND 108
#define IDS_HISTORY_IN_USE 109
#define IDS_HISTORY_DAMAGED 110
#define IDS_SCRIPT_NOT_WRITTEN 111
#define IDS_PROFILE_NOT_READ 112
#define IDS_PROFILE_NOT_SAVED 113
#define IDS_UNEXPECTED_ERROR 114

// The project list's column titles.
#define IDS_COLUMN_PROJECT 115
#define IDS_COLUMN_VERSION 116
#define IDS_COLUMN_BUILD 117
#define IDS_COLUMN_LAST_UPDATE 118
#define IDS_COLUMN_DIRECTORY 119

// About box controls.
#define IDC_ABOUT_BUILD 1019
#define IDC_ABOUT_TITLE 1020
#define IDC_ABOUT_VERSION 1021
#define IDC_ABOUT_WEB 1022
#define IDC_ABOUT_VERSION_LABEL 1023
#define IDC_ABOUT_BUILD_LABEL 1024

// Directory dialog controls.
#define IDC_DIRECTORY_TARGET 1025
#define IDC_DIRECTORY_NEW 1026
#define IDC_DIRECTORY_BROWSE 1027

// The program's own window messages. WM_HANDOFF carries a hand-off record in a global memory
// handle (lParam); the window takes it only from its own process, where the handle means
// something (ui/HandOff.h); WM_PROFILE_UNREAD is posted by the main window to itself;
// WM_TRAY_NOTIFY is what the shell sends for mouse actions on the tray icon.
#define WM_HANDOFF (WM_APP + 0x101)
#define WM_PROFILE_UNREAD (WM_APP + 0x102)
#define WM_TRAY_NOTIFY (WM_APP + 0x200)
