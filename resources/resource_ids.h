// Resource and control IDs, shared by the program, its resource script and
// every language module: a translated template must use the same numbers.
#ifndef SQV_RESOURCES_RESOURCE_IDS_H
#define SQV_RESOURCES_RESOURCE_IDS_H

#define IDD_MAIN 1000
#define IDB_LOGO 1001
#define IDD_COMPLETE 1002
#define IDD_ABOUT 1003

#define IDC_UNINSTALL 1004
#define IDC_SHUTDOWN 1006
#define IDC_RESTART 1007
#define IDC_ABOUT 1009
#define IDC_VERSION_LINE 1011

#endif
