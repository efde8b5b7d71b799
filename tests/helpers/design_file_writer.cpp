// Writes a named design case as a .PIPEDATA file through the program's own record codec, for the
// tests that open a real design file in the running program:
//   tovakin_design_file <case> <path>
// Both cases pass the input check and calculate on the pipe-material workbook the program ships:
//   flexible  the flexible named case as it stands (硬質ポリ塩化ビニル管 VU 600, a listed pipe);
//   rigid     the rigid named case on a pipe the shipped workbook lists (shippedRigidCase).
// Exit status 0 when the file was written, 2 on a wrong call, 1 when the file could not be written.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/design_data.h"
#include "app/document_file.h"
#include "platform/file_system.h"
#include "platform/ole_date.h"
#include "support/design_cases.h"

namespace {
using namespace tovakin;

// The title the report carries, so a test can find the document's own values in it.
constexpr const char* kTitle = "試験用の設計ケース";

app::DesignData document(const testing::CaseInput& input) {
  app::DesignData d = testing::makeDesign(input);
  d.dataTag = app::kDataTag;
  d.keisanshoTitle = kTitle;
  // A fixed moment, so that the file is the same at every build.
  const double written = platform::toOleDate({2020, 4, 1, 9, 0, 0});
  d.createDate = written;
  d.updateDate = written;
  return d;
}
}  // namespace

int main(int argc, char** argv) {
  const bool flexible = argc == 3 && std::strcmp(argv[1], "flexible") == 0;
  const bool rigid = argc == 3 && std::strcmp(argv[1], "rigid") == 0;
  if (!flexible && !rigid) {
    std::fprintf(stderr, "usage: %s flexible|rigid <path>\n", argv[0]);
    return 2;
  }
  const std::string bytes =
      app::encodeDesignData(document(flexible ? testing::flexibleCase() : testing::shippedRigidCase()));
  if (!platform::writeFileAtomically(argv[2], bytes)) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
    return 1;
  }
  return 0;
}
