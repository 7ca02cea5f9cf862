// Resource ids of Lumo.exe, shared by the resource script and the code.
#pragma once

#define IDD_LUMOCORE_DIALOG 102
#define IDI_LUMO 128
#define IDR_LUMO_ACCELERATORS 130

// Commands of the accelerator table.
#define ID_ACCEL_ALT_F4 0x8003
#define ID_ACCEL_ENTER 0x8004
#define ID_ACCEL_ESCAPE 0x8005
#define ID_ACCEL_UP 0x8007
#define ID_ACCEL_DOWN 0x8008
#define ID_ACCEL_LEFT 0x8009
#define ID_ACCEL_RIGHT 0x800A
