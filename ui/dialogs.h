// The program's dialogs and the one datum they share.
#ifndef SQV_UI_DIALOGS_H
#define SQV_UI_DIALOGS_H

#include <windows.h>

// The program's instance handle; WinMain writes it before any dialog exists.
extern HINSTANCE g_hInstance;

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK CompleteDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Each shows its dialog modally and returns 1 when it has ended, or -1 when
// it could not be created.
int ShowCompleteDialog();
int ShowAboutDialog();

#endif
