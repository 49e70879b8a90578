// Shows a dialog from the language module's template when it has one.
#ifndef SQV_UI_LOCALIZED_DIALOG_H
#define SQV_UI_LOCALIZED_DIALOG_H

#include <windows.h>

// Shows the dialog `templateName` modally, without owner, created with
// `instance`: from the template of sqvnls.dll when that module loads and holds
// one, from the program's own resources otherwise. Returns the dialog's
// result, or -1 when the dialog could not be created.
int ShowLocalizedDialog(HINSTANCE instance, LPCSTR templateName, DLGPROC procedure);

#endif
