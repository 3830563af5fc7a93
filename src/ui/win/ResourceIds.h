#pragma once
// Resource and control identifiers. Also included by the resource script, so only #defines here.

#define IDD_STATUS 129
#define IDD_ABOUT 130
#define IDD_CONFIG 131
#define IDI_QUORVANE 133
#define IDD_PERCENT 135

// Status window.
#define IDC_STATUS_HIDE 1000
#define IDC_STATUS_EXIT 1001
#define IDC_STATUS_ABOUT 1002
#define IDC_STATUS_PAUSE 1003
#define IDC_STATUS_STATE 1009
#define IDC_STATUS_QUEUE 1010
#define IDC_STATUS_TOTAL_ETA 1011
#define IDC_STATUS_FILENAME 1012
#define IDC_STATUS_FILE_ETA 1013
#define IDC_STATUS_DIRECTORY 1014
#define IDC_STATUS_PERCENT 1015
#define IDC_STATUS_SIZE 1016
#define IDC_STATUS_CONFIG 1048

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
