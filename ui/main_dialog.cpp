#include "dialogs.h"

#include "../uninstall/uninstall_sequence.h"
#include "../resources/resource_ids.h"
#include "localized_dialog.h"

// A language module's template may lack the control: then there is nothing to disable.
static void DisableControl(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    if (control)
        EnableWindow(control, FALSE);
}

static INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (MessageNumber(message) != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDCANCEL:
        EndDialog(dialog, 1);
        break;
    case IDC_ABOUT:
        ShowAboutDialog();
        break;
    case IDC_UNINSTALL:
        // The uninstall runs at most once: its buttons never come back.
        SetCursor(LoadCursorA(0, IDC_WAIT));
        DisableControl(dialog, IDC_UNINSTALL);
        DisableControl(dialog, IDCANCEL);
        DisableControl(dialog, IDC_ABOUT);
        RunUninstall();
        EndDialog(dialog, 1);
        SetCursor(LoadCursorA(0, IDC_ARROW));
        ShowCompleteDialog();
        break;
    }
    return FALSE;
}

int ShowMainDialog()
{
    return ShowLocalizedDialog(g_hInstance, MAKEINTRESOURCEA(IDD_MAIN), MainDialogProc);
}
