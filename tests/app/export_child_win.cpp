// A stand-in for kof-export in the video export job's tests, run by them as a child:
// it reports a quarter done, then
//   obedient: stops when its standard input ends, says so on standard error, ends with 3;
//   stubborn: never stops on its own.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  std::fputs("1 4\n", stdout);
  std::fflush(stdout);
  if (argc > 1 && std::strcmp(argv[1], "stubborn") == 0) Sleep(INFINITE);
  while (std::getchar() != EOF) {
  }
  std::fputs("stopped\n", stderr);
  return 3;
}
