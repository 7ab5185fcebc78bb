// Resource ids of Quillet. The dialogs, icons and controls keep these exact values.
#pragma once

#define IDD_CLOCK_DIALOG 102
#define IDR_MAINFRAME 128
#define IDI_TRAY 137 // the notification-area icon while a count runs
#define IDI_TRAY_PAUSED 142
#define IDD_OVERVIEW 138
#define IDD_NEW_PROJECT 139
#define IDD_DELETE_PROJECT 140
#define IDD_ABOUTBOX 141

// Main dialog
#define IDC_PROJECT_COMBO 1003
#define IDC_LABEL_CURRENT 1004
#define IDC_LABEL_CHOOSE 1005
#define IDC_START 1006
#define IDC_STOP 1007
#define IDC_PAUSE 1008
#define IDC_TIME_DISPLAY 1009
#define IDC_MINIMIZE 1010
#define IDC_OVERVIEW 1011
#define IDC_NEW_PROJECT 1012
#define IDC_DELETE_PROJECT 1013 // also the delete dialog's button
#define IDC_ABOUT 1014
#define IDC_TOTAL_DISPLAY 1015
#define IDC_SAVE_STATUS 1016

// Overview dialog
#define IDC_OVERVIEW_LIST 1018

// Create-project dialog
#define IDC_PROJECT_NAME 1019
#define IDC_ADD 1020
#define IDC_NEW_CANCEL 1021

// Delete-project dialog (its combo shares 1021 with the create dialog's cancel button)
#define IDC_DELETE_COMBO 1021
#define IDC_CLOSE 1023

// About dialog
#define IDC_WEBSITE 1025
#define IDC_COPYRIGHT 1029
#define IDC_LICENSE 1030
#define IDC_PRODUCT_NAME 1031

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Notification-area icon callback (WM_APP + 100)
#define WM_TRAY_NOTIFY 0x8064
