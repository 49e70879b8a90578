// The program's dialogs and the one datum they share.
#ifndef SQV_UI_DIALOGS_H
#define SQV_UI_DIALOGS_H

#include <windows.h>

// The program's instance handle; WinMain writes it before any dialog exists.
extern HINSTANCE g_hInstance;

// Each shows its dialog modally, from the language module's template when
// there is one, and returns 1 when it has ended, or -1 when it could not be
// created.
int ShowMainDialog();
int ShowCompleteDialog();
int ShowAboutDialog();

#endif
