#include "document/record_transfer.h"

namespace tovakin::gui {

std::optional<FixedList> fixedListOf(DocCombo list) {
  switch (list) {
    case DocCombo::Maisetu: return FixedList::Maisetu;
    case DocCombo::Kiso: return FixedList::Kiso;
    case DocCombo::KajuJoken: return FixedList::KajuJoken;
    case DocCombo::BuruJoken: return FixedList::BuruJoken;
    case DocCombo::DoroJoken: return FixedList::DoroJoken;
    case DocCombo::Kanshu:
    case DocCombo::Kikaku:
    case DocCombo::Yobina: return std::nullopt;
  }
  return std::nullopt;
}

namespace {

// The code of a fixed list's text into its field; a text that is no entry leaves the field.
void storeCode(double& field, DocCombo list, const ControlTexts& shown) {
  if (const auto fixed = fixedListOf(list))
    if (const auto code = fixedListCode(*fixed, shown.list(list))) field = *code;
}

// One box into the record. Each value is read completely before anything is written, so a box
// that raises leaves its field as it was.
void storeBox(DesignData& record, const DocumentBox& box, const std::string& text) {
  switch (box.kind) {
    case BoxKind::Number: record.*box.number = recordNumber(text, box.pattern); break;
    // The pipe boxes show millimetres; the record keeps metres.
    case BoxKind::Pipe: record.*box.number = recordNumber(text, box.pattern) / 1000.0; break;
    // The count is rounded half to even from the text as it stands, not from its "0" display.
    case BoxKind::Count: record.kyatapiraSu = caterpillarCount(recordNumber(text, "0.000000000000000")); break;
    case BoxKind::Surcharge: record.josaiKaju = surchargeToRecord(text); break;
    case BoxKind::Text:  // the title, box 0, is stored with the data tag
      if (box.index != 0) record.josaiKajuMeisho = text;
      break;
    case BoxKind::Weight: break;  // the pipe table's value, never read back
  }
}

}  // namespace

void controlsToRecord(DesignData& record, const ControlTexts& shown, double now, const PipeClassOf& pipeClassOf,
                      const TransferStepRunner& runStep) {
  runStep([&] {
    record.dataTag = app::kDataTag;
    record.keisanshoTitle = shown.box(0);
    record.updateDate = now;
  });
  runStep([&] {
    storeCode(record.maisetuKeishiki, DocCombo::Maisetu, shown);
    storeCode(record.kisoKeishiki, DocCombo::Kiso, shown);
  });
  runStep([&] {
    record.kanshu = shown.list(DocCombo::Kanshu);
    record.kikaku = shown.list(DocCombo::Kikaku);
    record.yobikei = shown.list(DocCombo::Yobina);
  });
  runStep([&] {
    storeCode(record.kajuJoken, DocCombo::KajuJoken, shown);
    storeCode(record.buruJoken, DocCombo::BuruJoken, shown);
    storeCode(record.doroJoken, DocCombo::DoroJoken, shown);
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

DesignData newCaseRecord(const app::NewCasePipe& pipe, const DesignData& filled) {
  DesignData fresh = app::newDesignData(pipe);
  fresh.maisetuKeishiki = filled.maisetuKeishiki;
  fresh.kisoKeishiki = filled.kisoKeishiki;
  fresh.kajuJoken = filled.kajuJoken;
  fresh.buruJoken = filled.buruJoken;
  fresh.doroJoken = filled.doroJoken;
  fresh.kanzaiKubun = pipe.kanzaiKubun;
  return fresh;
}

}  // namespace tovakin::gui
