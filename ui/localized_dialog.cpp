#include "localized_dialog.h"

int ShowLocalizedDialog(HINSTANCE instance, LPCSTR templateName, DLGPROC procedure)
{
    // As a data file: only the module's resources are read, none of its code runs.
    HMODULE module = LoadLibraryExA("sqvnls.dll", 0, LOAD_LIBRARY_AS_DATAFILE);
    if (module) {
        HRSRC found = FindResourceA(module, templateName, RT_DIALOG);
        HGLOBAL loaded = found ? LoadResource(module, found) : 0;
        if (loaded) {
            // Created with the program's instance, so the bitmap and every other
            // resource that the template names come from the program itself. The
            // module stays loaded while the dialog lives on its template.
            INT_PTR result = DialogBoxIndirectParamA(instance, (LPCDLGTEMPLATEA)loaded, 0, procedure, 0);
            FreeResource(loaded);
            FreeLibrary(module);
            return (int)result;
        }
        FreeLibrary(module);
    }
    return (int)DialogBoxParamA(instance, templateName, 0, procedure, 0);
}
