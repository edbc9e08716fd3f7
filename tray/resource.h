// Resource ids of the tray monitor, shared by the resource script and the code.
#pragma once

#define IDD_SENSOR_DIALOG 102
#define IDR_MAINFRAME 128
#define IDI_SENSOR_NOT_READY 129
#define IDI_SENSOR_READY 130
#define IDR_TRAYMENU 131
#define ID_TRAY_EXIT 32772
