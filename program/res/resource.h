// Resource ids of Tessaly.exe, shared by Tessaly.rc and the C++ sources.
// Plain #defines only: windres reads this file too.
#pragma once

// Dialog templates
#define IDD_TESSALY_DIALOG          102
#define IDD_BANNER_DIALOG           130
#define IDD_SETTING_DIALOG          132

// Icon and menu
#define IDR_MAINFRAME               128
#define IDR_LIST_MENU               135

// Controls of the main dialog (IDD_TESSALY_DIALOG)
#define IDC_PROGRESS                1008
#define IDC_LIST_RESULT             1009
#define IDC_STATIC_TASK             1010
#define IDC_STATIC_PERCENT          1011
#define IDC_STATIC_FILE             1012
#define IDC_STATIC_TIMELEFT         1013
#define IDC_SYSLINK_HOME            1014
#define IDC_BUTTON_SETTING          1015

// Controls of the settings dialog (IDD_SETTING_DIALOG)
#define IDC_BUTTON_SELECTALL        1000
#define IDC_BUTTON_UNSELECTALL      1001
#define IDC_BUTTON_RESET            1002
#define IDC_CHECK_LOWERCASE         1003
#define IDC_COMBO_COMPAREHASH       1004
#define IDC_LIST_HASH               1005
#define IDC_STATIC_SEARCHHASH       1006
#define IDC_STATIC_COMPAREHASH      1007

// Commands of the result list's context menu (IDR_LIST_MENU)
#define ID_COPY_HASH                32773
#define ID_COPY_HASH_WITH_NAME      32774

// Progress texts
#define IDS_FILE_NAME               100
#define IDS_PERCENT_DONE            101
#define IDS_TIME_LEFT_HOURS         102
#define IDS_TIME_LEFT_MINUTES       103
#define IDS_TIME_LEFT_SECONDS       104
#define IDS_TITLE_FILE_HASH         106
#define IDS_TITLE_COMPARE           107
#define IDS_FILE_PATH               108

// Worker errors; each text takes the path as its one argument
#define IDS_ERR_OPEN                1000
#define IDS_ERR_FILE_SIZE           1001
#define IDS_ERR_SHA1_OPEN           1002
#define IDS_ERR_MD5_OPEN            1003
#define IDS_ERR_SHA1_DATA           1004
#define IDS_ERR_MD5_DATA            1005
#define IDS_ERR_SHA256_OPEN         1006
#define IDS_ERR_SHA384_OPEN         1007
#define IDS_ERR_SHA512_OPEN         1008
#define IDS_ERR_SHA256_DATA         1009
#define IDS_ERR_SHA384_DATA         1010
#define IDS_ERR_SHA512_DATA         1011
#define IDS_ERR_MD2_OPEN            1012
#define IDS_ERR_MD4_OPEN            1013
#define IDS_ERR_MD2_DATA            1014
#define IDS_ERR_MD4_DATA            1015
#define IDS_ERR_HAS160_OPEN         1016
#define IDS_ERR_HAS160_DATA         1017
#define IDS_ERR_READ                1018

// Update check and network
#define IDS_UPDATE_CAPTION          5001
#define IDS_UPDATE_PROMPT           5002
#define IDS_UPDATE_NOT_FOUND        5003
#define IDS_NETWORK_ERROR           5005
#define IDS_NETWORK_CAPTION         5006

// Start-up errors
#define IDS_ERR_NO_RUNTIME          6000
#define IDS_ERR_ARGUMENTS           6001
#define IDS_ERR_PATH                6002
#define IDS_ERR_ALLOC               6003
#define IDS_ERR_DIALOG              6004
