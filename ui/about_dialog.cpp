#include "dialogs.h"

#include "../resources/resource_ids.h"
#include "localized_dialog.h"
#include "version_line.h"

// The version the About dialog shows, independent of the version resource.
enum { VERSION_MAJOR = 1, VERSION_MINOR = 11, VERSION_TEXT_SIZE = 256 };

// Program-wide, so the dialog procedure is not re-entrant; only one About
// dialog forms its line at a time, on the one thread.
static char g_versionFormat[VERSION_TEXT_SIZE];
static char g_versionLine[VERSION_TEXT_SIZE];

int ShowAboutDialog()
{
    return ShowLocalizedDialog(g_hInstance, MAKEINTRESOURCEA(IDD_ABOUT), AboutDialogProc);
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (LOWORD(message)) {
    case WM_INITDIALOG:
        // A translated template may lack the version line: then it stays untouched.
        if (GetDlgItem(dialog, IDC_VERSION_LINE)) {
            g_versionFormat[0] = 0;
            GetDlgItemTextA(dialog, IDC_VERSION_LINE, g_versionFormat, VERSION_TEXT_SIZE);
            FormatVersionLine(g_versionLine, VERSION_TEXT_SIZE, g_versionFormat, VERSION_MAJOR, VERSION_MINOR);
            SetDlgItemTextA(dialog, IDC_VERSION_LINE, g_versionLine);
        }
        return TRUE; // the focus goes to the OK button
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) // OK carries IDCANCEL, so Enter and Esc close too
            EndDialog(dialog, 1);
        return FALSE;
    }
    return FALSE;
}
