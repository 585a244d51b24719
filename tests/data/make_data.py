#!/usr/bin/env python3
"""Writes the golden scripts and history files of the stamping tests.

Every file is code page 932 text with CR LF line ends, as resource editors on Japanese systems
save them. Each expected file is its input with the lines a stamp must change spelled out by
hand, so the expectations never come from the code under test.

Run from anywhere: python3 tests/data/make_data.py
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))

# The file type statements and the opening of the string block, as resource editors write them.
TYPE_AND_STRINGS = [
    " FILEOS 0x40004L",
    " FILETYPE 0x1L",
    " FILESUBTYPE 0x0L",
    "BEGIN",
    '    BLOCK "StringFileInfo"',
    "    BEGIN",
]


def save(name, lines, final_newline=True):
    text = "\r\n".join(lines) + ("\r\n" if final_newline else "")
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(text.encode("cp932"))


def save_pair(name, lines, statements, value_lines, numbers, indent=" " * 12, final_newline=True):
    """Saves name.rc and name.expected.rc. In the expected file each (old, new) statement line
    stands replaced once, and every old string value line by the value that numbers give it."""
    save(name + ".rc", lines, final_newline)
    expected = list(lines)
    for old, new in statements:
        expected[expected.index(old)] = new
    for old in value_lines:
        assert old in lines, old
        key = "FileVersion" if '"FileVersion"' in old else "ProductVersion"
        new = indent + 'VALUE "%s", "%s\\0"' % (key, numbers)
        expected = [new if line == old else line for line in expected]
    save(name + ".expected.rc", expected, final_newline)


# A script as the Visual Studio resource editor writes it: dotted string values.
vs_style = [
    "// Microsoft Visual C++ generated resource script.",
    "//",
    '#include "resource.h"',
    "",
    "#define APSTUDIO_READONLY_SYMBOLS",
    "/////////////////////////////////////////////////////////////////////////////",
    "//",
    "// Generated from the TEXTINCLUDE 2 resource.",
    "//",
    '#include "winres.h"',
    "",
    "/////////////////////////////////////////////////////////////////////////////",
    "#undef APSTUDIO_READONLY_SYMBOLS",
    "",
    "/////////////////////////////////////////////////////////////////////////////",
    "// English (United States) resources",
    "",
    "#if !defined(AFX_RESOURCE_DLL) || defined(AFX_TARG_ENU)",
    "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US",
    "#pragma code_page(1252)",
    "",
    "IDI_SAMPLE              ICON                    \"Sample.ico\"",
    "",
    "/////////////////////////////////////////////////////////////////////////////",
    "//",
    "// Version",
    "//",
    "",
    "VS_VERSION_INFO VERSIONINFO",
    " FILEVERSION 1,0,0,1",
    " PRODUCTVERSION 1,0,0,1",
    " FILEFLAGSMASK 0x3fL",
    "#ifdef _DEBUG",
    " FILEFLAGS 0x1L",
    "#else",
    " FILEFLAGS 0x0L",
    "#endif",
    *TYPE_AND_STRINGS,
    '        BLOCK "040904b0"',
    "        BEGIN",
    '            VALUE "CompanyName", "Example Corp."',
    '            VALUE "FileDescription", "Sample Application"',
    '            VALUE "FileVersion", "1.0.0.1"',
    '            VALUE "InternalName", "Sample.exe"',
    '            VALUE "LegalCopyright", "Copyright (C) 2024"',
    '            VALUE "OriginalFilename", "Sample.exe"',
    '            VALUE "ProductName", "Sample Application"',
    '            VALUE "ProductVersion", "1.0.0.1"',
    "        END",
    "    END",
    '    BLOCK "VarFileInfo"',
    "    BEGIN",
    '        VALUE "Translation", 0x409, 1200',
    "    END",
    "END",
    "",
    "#endif    // English (United States) resources",
    "/////////////////////////////////////////////////////////////////////////////",
]
save_pair("vs_style", vs_style,
          [(" FILEVERSION 1,0,0,1", " FILEVERSION 2, 1, 0, 7"),
           (" PRODUCTVERSION 1,0,0,1", " PRODUCTVERSION 2, 1, 0, 7")],
          ['            VALUE "FileVersion", "1.0.0.1"',
           '            VALUE "ProductVersion", "1.0.0.1"'],
          "2, 1, 0, 7")

# Japanese text whose characters end in byte 0x5C (表, ソ, 能) around the keywords, and comments
# in which a keyword's bytes begin on the second byte of a character (ェ = 83 46 "F...",
# ケ = 83 50 "P..."): those must not be taken for statements.
japanese = [
    "// 表計算ソフト用リソース スクリプト",
    '#include "resource.h"',
    '#include "winres.h"',
    "",
    "LANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT",
    "#pragma code_page(932)",
    "",
    "STRINGTABLE",
    "BEGIN",
    '    IDS_TITLE               "表計算ソフト"',
    '    IDS_ABOUT               "機能表"',
    "END",
    "",
    "// バージョン情報 (ソ)",
    "VS_VERSION_INFO VERSIONINFO // 表",
    "// 旧版ェILEVERSION 9,9,9,9",
    " FILEVERSION 1,2,3,4 // 能",
    "// 旧版ケRODUCTVERSION 8,8,8,8",
    " PRODUCTVERSION 1,2,3,4",
    " FILEFLAGSMASK 0x3fL",
    " FILEFLAGS 0x0L",
    *TYPE_AND_STRINGS,
    '        BLOCK "041104b0"',
    "        BEGIN",
    '            VALUE "CompanyName", "株式会社ソ表"',
    '            VALUE "FileDescription", "表計算ソフト 能"',
    '            VALUE "FileVersion", "1, 2, 3, 4"',
    '            VALUE "ProductName", "表計算ソフト"',
    '            VALUE "ProductVersion", "1, 2, 3, 4"',
    '            VALUE "Comments", "機能表"',
    "        END",
    "    END",
    '    BLOCK "VarFileInfo"',
    "    BEGIN",
    '        VALUE "Translation", 0x411, 1200',
    "    END",
    "END",
]
save_pair("japanese", japanese,
          [(" FILEVERSION 1,2,3,4 // 能", " FILEVERSION 1, 2, 3, 5"),
           (" PRODUCTVERSION 1,2,3,4", " PRODUCTVERSION 1, 2, 3, 5")],
          ['            VALUE "FileVersion", "1, 2, 3, 4"',
           '            VALUE "ProductVersion", "1, 2, 3, 4"'],
          "1, 2, 3, 5")

# One version resource with a string block per language; numbers beyond 16 bits and negative.
two_languages = [
    '#include "winres.h"',
    "",
    "VS_VERSION_INFO VERSIONINFO",
    " FILEVERSION 70000,0,0,-1",
    " PRODUCTVERSION 70000,0,0,-1",
    " FILEFLAGSMASK 0x3fL",
    " FILEOS 0x40004L",
    " FILETYPE 0x1L",
    "BEGIN",
    '    BLOCK "StringFileInfo"',
    "    BEGIN",
    '        BLOCK "040904b0"',
    "        BEGIN",
    '            VALUE "FileDescription", "Spreadsheet"',
    '            VALUE "FileVersion", "70000, 0, 0, -1\\0"',
    '            VALUE "ProductVersion", "70000, 0, 0, -1\\0"',
    "        END",
    '        BLOCK "041104b0"',
    "        BEGIN",
    '            VALUE "FileDescription", "表計算"',
    '            VALUE "FileVersion", "70000, 0, 0, -1\\0"',
    '            VALUE "ProductVersion", "70000, 0, 0, -1\\0"',
    "        END",
    "    END",
    '    BLOCK "VarFileInfo"',
    "    BEGIN",
    '        VALUE "Translation", 0x409, 1200, 0x411, 1200',
    "    END",
    "END",
]
save_pair("two_languages", two_languages,
          [(" FILEVERSION 70000,0,0,-1", " FILEVERSION 70000, 0, 0, 0"),
           (" PRODUCTVERSION 70000,0,0,-1", " PRODUCTVERSION 70000, 0, 0, 0")],
          ['            VALUE "FileVersion", "70000, 0, 0, -1\\0"',
           '            VALUE "ProductVersion", "70000, 0, 0, -1\\0"'],
          "70000, 0, 0, 0")

# Two version resources: the second keeps its own statements, but its string values follow the
# first one's. A "FileVersion" before the first PRODUCTVERSION statement is left alone.
two_resources = [
    "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US",
    "VS_VERSION_INFO VERSIONINFO",
    " FILEVERSION 3,0,0,10",
    ' // "FileVersion" and "ProductVersion" follow the statements',
    " PRODUCTVERSION 3,0,0,0",
    "BEGIN",
    '    BLOCK "StringFileInfo"',
    "    BEGIN",
    '        BLOCK "040904b0"',
    "        BEGIN",
    '            VALUE "FileVersion", "3, 0, 0, 10"',
    '            VALUE "ProductVersion", "3, 0, 0, 0"',
    "        END",
    "    END",
    "END",
    "",
    "LANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT",
    "VS_VERSION_INFO VERSIONINFO",
    " FILEVERSION 5,0,0,0",
    " PRODUCTVERSION 5,0,0,0",
    "BEGIN",
    '    BLOCK "StringFileInfo"',
    "    BEGIN",
    '        BLOCK "041104b0"',
    "        BEGIN",
    '            VALUE "FileVersion", "5, 0, 0, 0"',
    '            VALUE "ProductVersion", "5, 0, 0, 0"',
    "        END",
    "    END",
    "END",
]
save_pair("two_resources", two_resources,
          [(" FILEVERSION 3,0,0,10", " FILEVERSION 3, 0, 0, 11"),
           (" PRODUCTVERSION 3,0,0,0", " PRODUCTVERSION 3, 0, 0, 11")],
          ['            VALUE "FileVersion", "3, 0, 0, 10"',
           '            VALUE "ProductVersion", "3, 0, 0, 0"',
           '            VALUE "FileVersion", "5, 0, 0, 0"',
           '            VALUE "ProductVersion", "5, 0, 0, 0"'],
          "3, 0, 0, 11")

# Kept by hand: TAB indentation, runs of delimiters, a TAB after a comma, trailing comments, and
# no line end after the last line (which holds no keyword).
comments_tabs = [
    "// version block kept by hand",
    "VS_VERSION_INFO\tVERSIONINFO",
    "\tFILEVERSION 1,,0, ,0,\t1\t// release build",
    "\tPRODUCTVERSION\t1 0 0 1 /* same */",
    "BEGIN",
    '\tBLOCK "StringFileInfo"',
    "\tBEGIN",
    '\t\tBLOCK "040904b0"',
    "\t\tBEGIN",
    '\t\t\tVALUE "FileVersion",\t"1.0.0.1"\t// dotted',
    '\t\t\tVALUE "ProductVersion", "1,0,0,1"',
    "\t\tEND",
    "\tEND",
    "END",
    "// end",
]
save_pair("comments_tabs", comments_tabs,
          [("\tFILEVERSION 1,,0, ,0,\t1\t// release build", "\tFILEVERSION 70000, 0, -1, 12"),
           ("\tPRODUCTVERSION\t1 0 0 1 /* same */", "\tPRODUCTVERSION 70000, 0, -1, 12")],
          ['\t\t\tVALUE "FileVersion",\t"1.0.0.1"\t// dotted',
           '\t\t\tVALUE "ProductVersion", "1,0,0,1"'],
          "70000, 0, -1, 12", indent="\t\t\t", final_newline=False)

# A history file the user has edited: Japanese description, a note between entries, and a comment
# section without a final line end. A stamp adds one line under #UPDATELIST and nothing else.
history = [
    "#DESCRIPTION",
    "\t表計算ソフト",
    "\t機能表の更新履歴 (ソ)",
    "",
    "#UPDATELIST",
    "\t2024/05/01 09:15:00\tVersion 1.2.3\tbuild 41",
    "\t\t能力表の表示を修正",
    "\t2024/04/30 18:02:11\tVersion 1.2.3\tbuild 40",
    "",
    "#COMMENT",
    "",
    "ソース管理: 別途",
]
save("history_user.txt", history, final_newline=False)
expected_history = list(history)
expected_history.insert(5, "\t<time>\tVersion 1.2.3\tbuild 42")
save("history_user.expected.txt", expected_history, final_newline=False)

# Scripts in the Unicode encodings resource editors and checkouts leave: the text is written with
# its byte-order mark in front, every byte outside the four kinds of version lines as it was.
MARKS = {"utf-16-le": b"\xff\xfe", "utf-16-be": b"\xfe\xff", "utf-8": b"\xef\xbb\xbf"}


def values(numbers, indent):
    return [
        indent + 'VALUE "FileVersion", "%s\\0"' % numbers,
        indent + 'VALUE "ProductVersion", "%s\\0"' % numbers,
    ]


def replaced(lines, changes):
    """lines with each (old, new, count) applied to exactly count whole lines, first ones first."""
    out = list(lines)
    for old, new, count in changes:
        at = [i for i, line in enumerate(out) if line == old]
        assert len(at) >= count, (old, at)
        for i in at[:count]:
            out[i] = new
    return out


def save_unicode(name, lines, codec):
    text = "\r\n".join(lines) + "\r\n"
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(MARKS[codec] + text.encode(codec))


# As the MFC application wizard of Visual Studio saves it: UTF-16LE with a mark, CR LF, Japanese
# text (one character outside the BMP, 𠮷, as a surrogate pair), and a version resource with a
# string block for each of two languages.
wizard = [
    "// Microsoft Visual C++ generated resource script.",
    "//",
    '#include "resource.h"',
    "",
    "#define APSTUDIO_READONLY_SYMBOLS",
    "/////////////////////////////////////////////////////////////////////////////",
    "//",
    "// Generated from the TEXTINCLUDE 2 resource.",
    "//",
    "#ifndef APSTUDIO_INVOKED",
    '#include "targetver.h"',
    "#endif",
    '#include "afxres.h"',
    '#include "verrsrc.h"',
    "",
    "/////////////////////////////////////////////////////////////////////////////",
    "#undef APSTUDIO_READONLY_SYMBOLS",
    "",
    "/////////////////////////////////////////////////////////////////////////////",
    "// 日本語 (日本) resources",
    "",
    "#if !defined(AFX_RESOURCE_DLL) || defined(AFX_TARG_JPN)",
    "LANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT",
    "",
    "/////////////////////////////////////////////////////////////////////////////",
    "//",
    "// Dialog",
    "//",
    "",
    "IDD_ABOUTBOX DIALOGEX 0, 0, 170, 62",
    "STYLE DS_SETFONT | DS_MODALFRAME | DS_FIXEDSYS | WS_POPUP | WS_CAPTION | WS_SYSMENU",
    'CAPTION "バージョン情報 表計算ソフト"',
    'FONT 9, "MS UI Gothic", 0, 0, 0x1',
    "BEGIN",
    "    ICON            IDR_MAINFRAME,IDC_STATIC,14,14,21,20",
    '    LTEXT           "表計算ソフト、バージョン 1.0",IDC_STATIC,42,14,114,8,SS_NOPREFIX',
    '    LTEXT           "Copyright (C) 2024 𠮷田ソフト",IDC_STATIC,42,26,114,8',
    '    DEFPUSHBUTTON   "OK",IDOK,113,41,50,14,WS_GROUP',
    "END",
    "",
    "/////////////////////////////////////////////////////////////////////////////",
    "//",
    "// Version",
    "//",
    "",
    "VS_VERSION_INFO VERSIONINFO",
    " FILEVERSION 1,0,0,1",
    " PRODUCTVERSION 1,0,0,1",
    " FILEFLAGSMASK 0x3fL",
    "#ifdef _DEBUG",
    " FILEFLAGS 0x1L",
    "#else",
    " FILEFLAGS 0x0L",
    "#endif",
    " FILEOS 0x40004L",
    " FILETYPE 0x1L",
    " FILESUBTYPE 0x0L",
    "BEGIN",
    '    BLOCK "StringFileInfo"',
    "    BEGIN",
    '        BLOCK "041104B0"',
    "        BEGIN",
    '            VALUE "CompanyName", "株式会社𠮷田ソフト"',
    '            VALUE "FileDescription", "表計算ソフト"',
    '            VALUE "FileVersion", "1.0.0.1"',
    '            VALUE "InternalName", "Sheet.exe"',
    '            VALUE "LegalCopyright", "Copyright (C) 2024"',
    '            VALUE "OriginalFilename", "Sheet.exe"',
    '            VALUE "ProductName", "表計算ソフト"',
    '            VALUE "ProductVersion", "1.0.0.1"',
    "        END",
    '        BLOCK "040904B0"',
    "        BEGIN",
    '            VALUE "CompanyName", "Yoshida Soft"',
    '            VALUE "FileDescription", "Spreadsheet"',
    '            VALUE "FileVersion", "1.0.0.1"',
    '            VALUE "ProductName", "Spreadsheet"',
    '            VALUE "ProductVersion", "1.0.0.1"',
    "        END",
    "    END",
    '    BLOCK "VarFileInfo"',
    "    BEGIN",
    '        VALUE "Translation", 0x411, 1200, 0x409, 1200',
    "    END",
    "END",
    "",
    "/////////////////////////////////////////////////////////////////////////////",
    "//",
    "// String Table",
    "//",
    "",
    "STRINGTABLE",
    "BEGIN",
    '    IDR_MAINFRAME           "表計算ソフト"',
    '    IDS_SAVE_CHANGES        "変更を保存しますか?"',
    "END",
    "",
    "#endif    // 日本語 (日本) resources",
    "/////////////////////////////////////////////////////////////////////////////",
    "",
    "#ifndef APSTUDIO_INVOKED",
    '#include "res\\\\Sheet.rc2"',
    "#endif    // not APSTUDIO_INVOKED",
]
save_unicode("wizard_utf16le.rc", wizard, "utf-16-le")
save_unicode("wizard_utf16le.expected.rc", replaced(wizard, [
    (" FILEVERSION 1,0,0,1", " FILEVERSION 1, 0, 0, 2", 1),
    (" PRODUCTVERSION 1,0,0,1", " PRODUCTVERSION 1, 0, 0, 2", 1),
    ('            VALUE "FileVersion", "1.0.0.1"', values("1, 0, 0, 2", " " * 12)[0], 2),
    ('            VALUE "ProductVersion", "1.0.0.1"', values("1, 0, 0, 2", " " * 12)[1], 2),
]), "utf-16-le")

# Big-endian UTF-16 with wide string literals (L"...") and TAB indentation.
big_endian = [
    "// バージョン情報だけのスクリプト",
    '#include "winres.h"',
    "LANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT",
    "VS_VERSION_INFO VERSIONINFO",
    "\tFILEVERSION 2,3,4,5",
    "\tPRODUCTVERSION 2,3,4,5",
    "BEGIN",
    '\tBLOCK "StringFileInfo"',
    "\tBEGIN",
    '\t\tBLOCK "041104b0"',
    "\t\tBEGIN",
    '\t\t\tVALUE "FileDescription", L"表示ソフト"',
    '\t\t\tVALUE "FileVersion", L"2, 3, 4, 5\\0"',
    '\t\t\tVALUE "ProductVersion", L"2, 3, 4, 5\\0"',
    "\t\tEND",
    "\tEND",
    "END",
]
save_unicode("utf16be.rc", big_endian, "utf-16-be")
save_unicode("utf16be.expected.rc", replaced(big_endian, [
    ("\tFILEVERSION 2,3,4,5", "\tFILEVERSION 2, 3, 4, 6", 1),
    ("\tPRODUCTVERSION 2,3,4,5", "\tPRODUCTVERSION 2, 3, 4, 6", 1),
    ('\t\t\tVALUE "FileVersion", L"2, 3, 4, 5\\0"', values("2, 3, 4, 6", "\t\t\t")[0], 1),
    ('\t\t\tVALUE "ProductVersion", L"2, 3, 4, 5\\0"', values("2, 3, 4, 6", "\t\t\t")[1], 1),
]), "utf-16-be")

# UTF-8 with a mark, as a project that keeps its scripts in UTF-8 saves them.
utf8_bom = [
    "// 表計算ソフト (UTF-8)",
    '#include "winres.h"',
    "#pragma code_page(65001)",
    "LANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT",
    "VS_VERSION_INFO VERSIONINFO",
    " FILEVERSION 3,1,4,1",
    " PRODUCTVERSION 3,1,4,1",
    "BEGIN",
    '    BLOCK "StringFileInfo"',
    "    BEGIN",
    '        BLOCK "041104b0"',
    "        BEGIN",
    '            VALUE "CompanyName", "株式会社ソ表"',
    '            VALUE "FileVersion", "3, 1, 4, 1\\0"',
    '            VALUE "ProductVersion", "3, 1, 4, 1\\0"',
    "        END",
    "    END",
    "END",
]
save_unicode("utf8_bom.rc", utf8_bom, "utf-8")
save_unicode("utf8_bom.expected.rc", replaced(utf8_bom, [
    (" FILEVERSION 3,1,4,1", " FILEVERSION 3, 1, 4, 2", 1),
    (" PRODUCTVERSION 3,1,4,1", " PRODUCTVERSION 3, 1, 4, 2", 1),
    ('            VALUE "FileVersion", "3, 1, 4, 1\\0"', values("3, 1, 4, 2", " " * 12)[0], 1),
    ('            VALUE "ProductVersion", "3, 1, 4, 1\\0"', values("3, 1, 4, 2", " " * 12)[1], 1),
]), "utf-8")

# As MinGW and CMake projects write it by hand: <windows.h> and no resource.h, the resource named
# by number, the columns aligned with blanks, an English block with the Windows-1252 code page.
mingw_numbered = [
    "#include <windows.h>",
    "",
    "1 VERSIONINFO",
    "FILEVERSION     0,9,2,0",
    "PRODUCTVERSION  0,9,2,0",
    "FILEFLAGSMASK   VS_FFI_FILEFLAGSMASK",
    "FILEFLAGS       0",
    "FILEOS          VOS_NT_WINDOWS32",
    "FILETYPE        VFT_APP",
    "FILESUBTYPE     VFT2_UNKNOWN",
    "BEGIN",
    '  BLOCK "StringFileInfo"',
    "  BEGIN",
    '    BLOCK "040904E4"',
    "    BEGIN",
    '      VALUE "CompanyName",      "Example Tools"',
    '      VALUE "FileDescription",  "Batch renamer"',
    '      VALUE "FileVersion",      "0.9.2"',
    '      VALUE "InternalName",     "renamer"',
    '      VALUE "OriginalFilename", "renamer.exe"',
    '      VALUE "ProductName",      "renamer"',
    '      VALUE "ProductVersion",   "0.9.2"',
    "    END",
    "  END",
    '  BLOCK "VarFileInfo"',
    "  BEGIN",
    '    VALUE "Translation", 0x409, 1252',
    "  END",
    "END",
]
save("mingw_numbered.rc", mingw_numbered)
save("mingw_numbered.expected.rc", replaced(mingw_numbered, [
    ("FILEVERSION     0,9,2,0", "FILEVERSION 0, 9, 2, 1", 1),
    ("PRODUCTVERSION  0,9,2,0", "PRODUCTVERSION 0, 9, 2, 1", 1),
    ('      VALUE "FileVersion",      "0.9.2"', values("0, 9, 2, 1", " " * 6)[0], 1),
    ('      VALUE "ProductVersion",   "0.9.2"', values("0, 9, 2, 1", " " * 6)[1], 1),
]))
