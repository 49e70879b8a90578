#include "dialogs.h"

#include "../resources/resource_ids.h"
#include "localized_dialog.h"

static INT_PTR CALLBACK CompleteDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (MessageNumber(message) != WM_COMMAND)
        return FALSE;
    // The dialog ends before the session end is asked for. No force flag:
    // running programs are asked and may refuse.
    switch (LOWORD(wParam)) {
    case IDCANCEL:
        EndDialog(dialog, 1);
        break;
    case IDC_SHUTDOWN:
        EndDialog(dialog, 1);
        ExitWindowsEx(EWX_SHUTDOWN, 0);
        break;
    case IDC_RESTART:
        EndDialog(dialog, 1);
        ExitWindowsEx(EWX_REBOOT, 0);
        break;
    }
    return FALSE;
}

int ShowCompleteDialog()
{
    return ShowLocalizedDialog(g_hInstance, MAKEINTRESOURCEA(IDD_COMPLETE), CompleteDialogProc);
}
