/* Posts WM_COMMAND with the given command to the first window of a class, as a menu choice
   or a button press would: post.exe CLASS COMMAND. Exits 1 when no such window is there. */
#include <stdlib.h>
#include <windows.h>

int main(int argc, char** argv) {
  HWND window = argc == 3 ? FindWindowA(argv[1], NULL) : NULL;
  if (!window) return 1;
  PostMessageA(window, WM_COMMAND, (WPARAM)atoi(argv[2]), 0);
  return 0;
}
