#pragma once

// The 32-bit truth value of the Windows API, also on POSIX so the portable core keeps one
// signature on both platforms. <windows.h> declares the same typedef; repeating it is harmless.
typedef int BOOL;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
