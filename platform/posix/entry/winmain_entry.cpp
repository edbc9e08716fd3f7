// A GUI program's process entry, as the Windows loader would make it.
#include <windows.h>

int main() {
    char commandLine[] = "";
    return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWNORMAL);
}
