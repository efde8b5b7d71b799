#pragma once
// The .PIPEDATA document file: one DesignData record of exactly 2800 bytes.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/design_data.h"
#include "app/layer.h"

namespace tovakin::app {

// The record as the 2800 bytes of the file: little-endian numbers at their offsets, texts in
// code page 932 cut to the field's width on a character boundary and padded with blanks; a
// text field that was never assigned is written as NUL bytes; spare20 goes out as it is.
std::string encodeDesignData(const DesignData& data);

// The record from the bytes of a file. Fewer than 2800 bytes read as if the rest were zeros;
// bytes past 2800 are not looked at.
DesignData decodeDesignData(std::string_view bytes);

// The pipe shown in the window's lists when a new case is made.
struct NewCasePipe {
  std::string kanshu;        // 管種 shown in the pipe-type list
  std::string kikaku;        // 規格 shown in the standard list
  std::string yobikei;       // 呼び径 shown in the nominal-size list
  double kanzaiKubun = 0.0;  // pipe-material class of that pipe type (0 rigid, -1 unknown)
};

// A new design case: the format tag, no title, created and updated now, support angle 90°,
// cover 0.6 m, soil and water values from g_calcSettings, surcharge "0", settlement ratio
// 0.7 for a rigid pipe (else -0.1), the fixed e' of soil cement and of small bores
// (reaction_modulus_constants.h), F1 = F2 = 1.0, design deflection 3.0 %, S = n = 2.0, αa
// corrected; the fixed lists at their first entries (自由支承, 溝型, T-25, 未舗装道路, 3 t);
// every other number 0.
DesignData newDesignData(const NewCasePipe& pipe = {});

// Writes the record to the path (through a temporary file renamed over it) and puts the
// path at the head of the recent-file list. False when the file could not be written; the
// error box then gives the runtime's error for the cause (platform::writeErrorNumber).
bool データの書き出し(DesignData& data, const std::string& path);

// Replaces the record by the file's content and puts the path at the head of the
// recent-file list. False (record and list untouched) when the file could not be read, and
// when it is shorter than the record: that one is refused with notDataFileMessage.
bool データの呼び出し(DesignData& data, const std::string& path);

// "ﾌｧｲﾙ'name'は有効なpipedataではありません。": the file named is no design file.
std::string notDataFileMessage(const std::string& name);

// The file-kind test before opening: -1 for an empty path; 0 for a missing file, one shorter
// than the record, or one that does not start with "Tovakin_" and a known edition letter;
// 1 for "F"/"f", 2 for "T"/"t", 3 for "A"/"a". Never shows a message.
std::int16_t myDataFileKind(const std::string& path);

}  // namespace tovakin::app
