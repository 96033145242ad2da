// TarnwickService.exe, the windowless launcher. Its update check and the start of the main
// program are not part of this build yet: it ends at once with exit code 0.

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
