// Ids of the test menus.
#pragma once

#define IDR_TEST_MENU 200
#define ID_FIRST 0x9001   /* hex */
#define ID_BASE 40000
#define ID_SECOND (ID_BASE + 2)  // an expression
#define ID_THIRD 40003L
