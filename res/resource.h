// Identifiers of the executable's resources.  The language libraries carry
// the same numbers, so nothing here may be renumbered.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC                   (-1)
#endif

// Icons
#define IDR_MAINFRAME                128
#define IDI_OK                       1001
#define IDI_CANCEL                   239
#define IDI_SETUP                    258
#define IDI_PRINT                    294
#define IDI_LED_ON                   135
#define IDI_LED_OFF                  136
#define IDI_CLEAR_FIELDS             150
#define IDI_CLEAR_LIST               317

// Bitmaps
#define IDB_SPLASH                   131
#define IDB_LOGO_SMALL               133
#define IDB_LOGO                     149

// Tray menu (130) and its commands
#define IDR_TRAY_MENU                130
#define ID_TRAY_ABOUT                32771
#define ID_TRAY_SHOW_DIALOG          32772
#define ID_TRAY_EXIT                 32773

// The About item the main window adds to its system menu (a system
// command: the low four bits must stay clear).
#define IDM_ABOUTBOX                 0x0010

// Strings
#define IDS_ABOUTBOX                 101
#define IDS_NO_FIELDS_SELECTED       32774
#define IDS_FRAME_FORMAT_ERROR       32775
#define IDS_FIELD_NAME_REFUSED       32776
#define IDS_LINES_CANNOT_BE_WRITTEN  32777
#define IDS_WAITING_LINES_WRITTEN    32778
#define IDS_WAITING_LINES_RESTORED   32779
#define IDS_DAMAGED_RECORDS_KEPT     32780
#define IDS_WAITING_LINES_STAY       32781
#define IDS_SERIAL_PORT_LOST         32782
#define IDS_PRINTOUTS_SKIPPED        32783
#define IDS_DB_CONNECTED             32784
#define IDS_DB_TROUBLE               32785
#define IDS_DB_NOT_RECORDED          32786
#define IDS_DB_TESTING               32787
#define IDS_DB_TEST_CONNECTED        32788
#define IDS_DB_TEST_FAILED           32789
#define IDS_DB_TABLE_REFUSED         32790
#define IDS_DB_STATUS_CONNECTED      32791
#define IDS_DB_STATUS_NOT_REACHED    32792
#define IDS_DB_DAMAGED               32793
#define IDS_DB_RECORDED              32794
#define IDS_APP_TITLE                57344

// Dialogs
#define IDD_ABOUTBOX                 100
#define IDD_RECEIVER_DIALOG          102
#define IDD_SETUP                    132
#define IDD_FIELD_NAME               140
#define IDD_PRINT_SETUP              141
#define IDD_SERIAL_SETUP             179

// About box (100)
#define IDC_ABOUT_VERSION            1002
#define IDC_ABOUT_VORL_LABEL         1008

// Main window (102); its Exit button is IDCANCEL
#define IDC_RECEIVER_HIDE            1000
#define IDC_RECEIVER_FRAME_LIST      1001
#define IDC_RECEIVER_CLEAR_LIST      1005
#define IDC_RECEIVER_CLEAR_FIELDS    1006
#define IDC_RECEIVER_STORING_LED     1007
#define IDC_RECEIVER_VORL_LABEL      1008
#define IDC_RECEIVER_STATUS_GROUP    1010
#define IDC_RECEIVER_PRINT_GROUP     1011
#define IDC_RECEIVER_RECEIVED_LABEL  1012
#define IDC_RECEIVER_FRAME_COUNTER   1019
#define IDC_RECEIVER_SETUP           1026
#define IDC_RECEIVER_STATUS_STORE    1028
#define IDC_RECEIVER_STORED_FRAME    1029
#define IDC_RECEIVER_STATUS_DATABASE 1070
#define IDC_RECEIVER_STATUS_LINK     1030
#define IDC_RECEIVER_STORED_LABEL    1041
#define IDC_RECEIVER_OPERATOR        1053
#define IDC_RECEIVER_SERIAL_NUMBER   1054
#define IDC_RECEIVER_COMMENT         1055

// Setup dialog (132)
#define IDC_SETUP_SERVER_PORT        1000
#define IDC_SETUP_SERVER_PORT_SPIN   1001
#define IDC_SETUP_HIDE_AT_START      1004
#define IDC_SETUP_VORL_LABEL         1008
#define IDC_SETUP_FIELDS_GROUP       1010
#define IDC_SETUP_SERVER_IP          1012
#define IDC_SETUP_STORE_ORIGINAL     1013
#define IDC_SETUP_STORE_ORIGINAL_DATE 1014
#define IDC_SETUP_STORE_SELECTED     1015
#define IDC_SETUP_EXT_CSV            1016
#define IDC_SETUP_FIELD_LIST         1023
#define IDC_SETUP_HIDE_BUTTON        1027
#define IDC_SETUP_EXT_TXT            1029
#define IDC_SETUP_STORE_SELECTED_DATE 1031
#define IDC_SETUP_INPUT_SEPARATOR    1034
#define IDC_SETUP_OUTPUT_SEPARATOR   1035
#define IDC_SETUP_COM_PORT           1039
#define IDC_SETUP_RS232_SETUP        1040
#define IDC_SETUP_INPUT_PORT         1041
#define IDC_SETUP_PRINT_SETUP        1042
#define IDC_SETUP_LANGUAGE           1043
#define IDC_SETUP_RECONNECT          1044
#define IDC_SETUP_PRINT_RESULT       1052
#define IDC_SETUP_BROWSE             1200
#define IDC_SETUP_DIRECTORY          1248
#define IDC_SETUP_DB_ENABLED         1260
#define IDC_SETUP_DB_CONNECTION      1261
#define IDC_SETUP_DB_PASSWORD        1262
#define IDC_SETUP_DB_TABLE           1263
#define IDC_SETUP_DB_STATION         1264
#define IDC_SETUP_DB_TEST            1265
#define IDC_SETUP_DB_RESULT          1266

// Field name dialog (140)
#define IDC_FIELD_NAME               1002

// Serial port setup dialog (179)
#define IDC_SERIAL_PORT_NAME         1074
#define IDC_SERIAL_BAUD              1105
#define IDC_SERIAL_DATA_BITS         1107
#define IDC_SERIAL_STOP_BITS         1108
#define IDC_SERIAL_PARITY            1109
#define IDC_SERIAL_HANDSHAKE         1110
#define IDC_SERIAL_GROUP             1111

// Print setup dialog (141)
#define IDC_PRINT_COPIES             1002
#define IDC_PRINT_OPERATOR_X         1003
#define IDC_PRINT_OPERATOR_Y         1004
#define IDC_PRINT_SERIAL_X           1005
#define IDC_PRINT_SERIAL_Y           1006
#define IDC_PRINT_DESCRIPTION_X      1007
#define IDC_PRINT_DESCRIPTION_Y      1008
#define IDC_PRINT_DATETIME_X         1009
#define IDC_PRINT_DATETIME_Y         1010
#define IDC_PRINT_FRAME_X            1011
#define IDC_PRINT_FRAME_Y            1012
#define IDC_PRINT_LEFT_MARGIN        1013
#define IDC_PRINT_UPPER_MARGIN       1014
#define IDC_PRINT_CAPTION            1041
#define IDC_PRINT_TYPE               1050
#define IDC_PRINT_OPERATOR           1051
#define IDC_PRINT_SERIAL             1052
#define IDC_PRINT_DESCRIPTION        1053
#define IDC_PRINT_DATETIME           1054
#define IDC_PRINT_FRAME              1055
#define IDC_PRINT_CHAR_SIZE          1056
#define IDC_PRINT_TYPE_GROUP         1057
#define IDC_PRINT_FIELDS_GROUP       1058
