#include "document/record_transfer.h"

#include <cmath>
#include <string_view>
#include <type_traits>
#include <variant>

#include "app/number_format.h"
#include "app/std_io.h"
#include "platform/error_box.h"
#include "platform/message_box.h"

namespace tovakin::gui {

namespace {

// ---- The record's fields by the tables' field column ----------------------------------------
// A field of another type than the one its box or list reads is a fault of the tables.

template <class M>
constexpr bool kTextMember = false;
template <std::size_t N>
constexpr bool kTextMember<app::FixedText<N> DesignData::*> = true;

template <class T>
T& fieldOf(DesignData& record, const RecordField& field) {
  T DesignData::* const* member = std::get_if<T DesignData::*>(&field);
  if (!member) raiseNotFound(recordFieldName(field));
  return record.**member;
}

template <class T>
const T& fieldOf(const DesignData& record, const RecordField& field) {
  return fieldOf<T>(const_cast<DesignData&>(record), field);
}

void writeText(DesignData& record, const RecordField& field, std::string_view text) {
  std::visit(
      [&](auto member) {
        if constexpr (kTextMember<decltype(member)>) record.*member = text;
        else raiseNotFound(recordFieldName(field));
      },
      field);
}

const std::string& readText(const DesignData& record, const RecordField& field) {
  return std::visit(
      [&](auto member) -> const std::string& {
        if constexpr (kTextMember<decltype(member)>) return (record.*member).str();
        else raiseNotFound(recordFieldName(field));
      },
      field);
}

// The code of a fixed list's text into its field; a text that is no entry leaves the field.
void storeCode(DesignData& record, DocRole list, const ControlTexts& shown) {
  if (const auto code = fixedListCode(list, shown.list(list))) fieldOf<double>(record, documentList(list).field) = *code;
}

// One box into its field. Each value is read completely before anything is written, so a box
// that raises leaves its field as it was.
void storeBox(DesignData& record, const DocumentBox& box, const std::string& text) {
  switch (box.kind) {
    case BoxKind::Number: fieldOf<double>(record, box.field) = recordNumber(text, box.pattern); break;
    // The pipe boxes show millimetres; the record keeps metres.
    case BoxKind::Pipe: fieldOf<double>(record, box.field) = recordNumber(text, box.pattern) / 1000.0; break;
    // The count is rounded half to even from the text as it stands, not from its "0" display.
    case BoxKind::Count:
      fieldOf<std::int32_t>(record, box.field) = caterpillarCount(recordNumber(text, "0.000000000000000"));
      break;
    case BoxKind::Surcharge: writeText(record, box.field, surchargeToRecord(text)); break;
    case BoxKind::Text: writeText(record, box.field, text); break;
    case BoxKind::Weight: break;  // the pipe table's value, never read back
  }
}

}  // namespace

void controlsToRecord(DesignData& record, const ControlTexts& shown, double now, const PipeClassOf& pipeClassOf,
                      const TransferStepRunner& runStep) {
  runStep([&] {
    record.dataTag = app::kDataTag;
    record.updateDate = now;
  });
  runStep([&] {
    storeCode(record, DocRole::Maisetu, shown);
    storeCode(record, DocRole::Kiso, shown);
  });
  runStep([&] {
    for (DocRole list : {DocRole::Kanshu, DocRole::Kikaku, DocRole::Yobina})
      storePipeText(record, list, shown.list(list));
  });
  runStep([&] {
    storeCode(record, DocRole::KajuJoken, shown);
    storeCode(record, DocRole::BuruJoken, shown);
    storeCode(record, DocRole::DoroJoken, shown);
  });
  // One step per box: a box that cannot be read is reported on its own.
  for (const DocumentBox& box : documentBoxes()) runStep([&] { storeBox(record, box, shown.box(box.index)); });
  runStep([&] {
    record.naikei = record.gaikei - 2.0 * record.kanatu;
    record.naikeiKeisan = record.gaikei - 2.0 * record.kanatuKeisan;
    record.spare19 = 0;
    record.kisozaiMizohaba = record.mizohaba;
  });
  runStep([&] {
    record.spare18 = 0;
    record.kanzaiKubun = pipeClassOf(record.kanshu);
  });
}

void listFilled(DesignData& record, DocRole list, const std::string& shown) {
  const DocumentList& l = documentList(list);
  if (l.items) fieldOf<double>(record, l.field) = fixedListDefault(list);
  else writeText(record, l.field, shown);
}

void storePipeText(DesignData& record, DocRole list, const std::string& shown) {
  const DocumentList& l = documentList(list);
  if (l.items) raiseNoControl(list);  // a fixed list keeps a code
  writeText(record, l.field, shown);
}

void recordToControls(DesignData& record, ShownControls& controls, const TransferStepRunner& runStep) {
  std::string kanshu, kikaku, yobikei;
  runStep([&] {
    kanshu = listTextOf(record, DocRole::Kanshu);
    kikaku = listTextOf(record, DocRole::Kikaku);
    yobikei = listTextOf(record, DocRole::Yobina);
  });
  runStep([&] { controls.setListText(DocRole::Kanshu, kanshu); });
  controls.refillPipeList(DocRole::Kikaku);
  runStep([&] { controls.setListText(DocRole::Kikaku, kikaku); });
  controls.refillPipeList(DocRole::Yobina);
  runStep([&] { controls.setListText(DocRole::Yobina, yobikei); });
  runStep([&] {
    for (DocRole list : {DocRole::Kikaku, DocRole::Yobina}) storePipeText(record, list, controls.listText(list));
  });
  controls.showPipeBoxes();
  // A code its list has no entry for shows as the code itself, never as another entry, and is
  // named once the case is shown; the record keeps it, and the calculation refuses it.
  std::vector<std::string> unknown;
  const auto showFixedList = [&](DocRole list) {
    const double code = fieldOf<double>(record, documentList(list).field);
    const std::optional<std::string> entry = fixedListEntry(list, code);
    controls.setListText(list, entry ? *entry : (std::isfinite(code) ? formatGeneral(code) : std::string()));
    if (!entry) unknown.push_back(unknownListCodeText(list, code));
  };
  runStep([&] { showFixedList(DocRole::Kiso); });
  controls.showKanshuSwitch();
  runStep([&] {
    showFixedList(DocRole::Maisetu);
    controls.showTrench(record.maisetuKeishiki);
  });
  runStep([&] {
    for (DocRole list : {DocRole::KajuJoken, DocRole::BuruJoken, DocRole::DoroJoken}) showFixedList(list);
  });
  runStep([&] {
    for (const DocumentBox& box : documentBoxes())
      if (const std::optional<std::string> text = boxTextOf(record, box)) controls.setBoxText(box.index, *text);
  });
  if (unknown.empty()) return;
  runStep([&] { msgBox(unknownCodesMessage(unknown), MsgButtons::OK, MsgIcon::Exclamation, ""); });
}

std::string unknownCodesMessage(const std::vector<std::string>& unknown) {
  std::string text = "このファイルの値は一覧にありません。\r\n";
  for (const std::string& line : unknown) text += line + "\r\n";
  return text + "一覧から選び直して下さい。";
}

std::string listTextOf(const DesignData& record, DocRole list) {
  const DocumentList& l = documentList(list);
  if (l.items) return fixedListText(list, fieldOf<double>(record, l.field));
  return myTrim(readText(record, l.field));
}

std::optional<std::string> boxTextOf(const DesignData& record, const DocumentBox& box) {
  switch (box.kind) {
    case BoxKind::Number: return showNumber(fieldOf<double>(record, box.field), box.pattern);
    case BoxKind::Count: return showNumber(fieldOf<std::int32_t>(record, box.field), box.pattern);
    case BoxKind::Surcharge: return surchargeToBox(readText(record, box.field));
    case BoxKind::Text: return myTrim(readText(record, box.field));
    case BoxKind::Pipe:
    case BoxKind::Weight: return std::nullopt;  // the pipe table's values (pipeBoxText)
  }
  return std::nullopt;
}

DesignData newCaseRecord(const app::NewCasePipe& pipe, const DesignData& filled) {
  DesignData fresh = app::newDesignData(pipe);
  for (const DocumentList& list : documentLists())
    if (list.items) fieldOf<double>(fresh, list.field) = fieldOf<double>(filled, list.field);
  fresh.kanzaiKubun = pipe.kanzaiKubun;
  return fresh;
}

}  // namespace tovakin::gui
