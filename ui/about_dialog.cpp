#include "dialogs.h"

#include "../resources/resource_ids.h"
#include "localized_dialog.h"
#include "version_line.h"

// The version the About dialog shows, independent of the version resource.
enum { VERSION_MAJOR = 1, VERSION_MINOR = 11, VERSION_TEXT_SIZE = 256 };

// The dialog's work area: the version line's format as the template holds
// it, and the line formed from it. Static, as every buffer of the program,
// so the dialog procedure is not reentrant; only one About dialog forms its
// line at a time, on the one thread.
static struct {
    char format[VERSION_TEXT_SIZE];
    char line[VERSION_TEXT_SIZE];
} VersionText;

static INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (MessageNumber(message)) {
    case WM_INITDIALOG:
        // A translated template may lack the version line: then it stays untouched.
        if (GetDlgItem(dialog, IDC_VERSION_LINE)) {
            VersionText.format[0] = 0;
            GetDlgItemTextA(dialog, IDC_VERSION_LINE, VersionText.format, VERSION_TEXT_SIZE);
            FormatVersionLine(VersionText.line, VERSION_TEXT_SIZE, VersionText.format, VERSION_MAJOR, VERSION_MINOR);
            SetDlgItemTextA(dialog, IDC_VERSION_LINE, VersionText.line);
        }
        return TRUE; // the focus goes to the OK button
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) // OK carries IDCANCEL, so Enter and Esc close too
            EndDialog(dialog, 1);
        return FALSE;
    }
    return FALSE;
}

int ShowAboutDialog()
{
    return ShowLocalizedDialog(g_hInstance, MAKEINTRESOURCEA(IDD_ABOUT), AboutDialogProc);
}
