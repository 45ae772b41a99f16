// The test dialog's resources.
#pragma once

#define IDD_CONTROLS_TEST   200
#define IDB_TEST_SPLASH     131
#define IDI_TEST_LED_ON     135
#define IDI_TEST_LED_OFF    136

#define IDC_TEST_LIST       1001
#define IDC_TEST_CORNER     1002
#define IDC_TEST_DIGITS     1004
#define IDC_TEST_LED        1005
#define IDC_TEST_GRADIENT   1006
#define IDC_TEST_COLOUR     1007
