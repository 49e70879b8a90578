// The program's dialogs and the one datum they share.
#ifndef SQV_UI_DIALOGS_H
#define SQV_UI_DIALOGS_H

#include <windows.h>

// The program's instance handle; WinMain writes it before any dialog exists.
extern HINSTANCE g_hInstance;

// The dialog procedures know a message by the low 16 bits of its number, as
// they did when first written for 16-bit Windows: LOWORD here is intended,
// not a slip to "fix" (a command is known by LOWORD(wParam) likewise).
inline UINT MessageNumber(UINT message)
{
    return LOWORD(message);
}

// Each shows its dialog modally, from the language module's template when
// there is one, and returns 1 when it has ended, or -1 when it could not be
// created.
int ShowMainDialog();
int ShowCompleteDialog();
int ShowAboutDialog();

#endif
