// Program entry. The windows are not built yet: the program prepares its application
// folder and says so.
#include <cstdio>

int main() {
  std::puts("Tovakin: the windows are not built yet.");
  return 0;
}
