// Cost of one calculation run in the real windows, from 計算する to the report written: the
// controls into the record, the check, the calculation on the pipe database the program ships,
// the report file (answered at once), the report workbook from the shipped template, and the
// closing question (answered いいえ). The case is the largest report: a free flexible pipe in a
// trench with the cover above He. Offscreen; the notices are painted as on a desktop.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <filesystem>
#include <memory>
#include <string>

#include "app/app_state.h"
#include "app/settings.h"
#include "calc/pipe_database.h"
#include "calc/pipe_db_sqlite.h"
#include "calc/pipe_lookups.h"
#include "document/calculation_run.h"
#include "document/frm_document.h"
#include "document/frm_message.h"
#include "platform/common_dialog.h"
#include "platform/error_box.h"
#include "platform/message_box.h"
#include "report/xlsx_report_book.h"
#include "shell/frm_main.h"
#include "ui/application.h"

namespace {

using namespace tovakin::gui;
namespace fs = std::filesystem;

// Every dialog and box answered as the user of a repeated run would.
struct SaveHere final : CommonDialog {
  std::string path;
  DialogOutcome ShowOpen() override { return DialogOutcome::Cancelled; }
  DialogOutcome ShowSave() override {
    FileName = path;
    return DialogOutcome::Ok;
  }
};
struct OverwriteYes final : MessageBoxService {
  MsgAnswer show(const std::string&, MsgButtons, MsgIcon, const std::string&) override { return MsgAnswer::Yes; }
};
struct AnswerNo final : MessageModality {
  int questions = 0;
  void runModal(frmMessage& window) override {
    if (window.frmMessageSrc == kMessageYesNo) ++questions;
    window.cmdCommand(0)->click();
  }
};
struct CountingErrors final : ErrorBox {
  int shown = 0;
  ErrorAnswer show(const std::string&, const std::string&) override {
    ++shown;
    return ErrorAnswer::Ignore;
  }
};

void choose(QComboBox* combo, const char* text) {
  const int index = combo->findText(QString::fromUtf8(text));
  combo->setCurrentIndex(index);
  emit combo->activated(index);
}

void BM_CalculationRun_largestCase(benchmark::State& state) {
  QTemporaryDir folder;
  QTemporaryDir settings;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  const std::string app = folder.path().toStdString() + "/";
  fs::create_directories(app + "DATABASE");
  fs::create_directories(app + "IMAGE");
  fs::copy_file(TOVAKIN_APPDIR "/DATABASE/Tovakin.xlsx", pipeWorkbookPath(app));
  fs::copy_file(TOVAKIN_APPDIR "/IMAGE/KANA.ico", app + "IMAGE/KANA.ico");

  CountingErrors errors;
  const auto errorsInstalled = installErrorBox(errors);
  CreateMyDatabase(app);
  SqlitePipeDataSource source(app);
  const auto sourceInstalled = installPipeDataSource(&source);
  tovakin::report::XlsxReportTemplateOpener opener;
  const auto openerInstalled = tovakin::report::installReportTemplateOpener(opener);
  SaveHere dialog;
  dialog.path = app + "DATA report.xlsx";
  const auto dialogInstalled = installCommonDialog(dialog);
  OverwriteYes boxes;
  const auto boxesInstalled = installMessageBox(boxes);
  AnswerNo modality;
  const auto modalityInstalled = installMessageModality(modality);

  const AppState saved = g_app;
  g_app.g_appPath = app;
  g_app.g_templatePath = std::string(TOVAKIN_APPDIR) + "/DATABASE/QXWork.xlsx";
  g_app.g_excelVersion = 12;
  g_calcSettings = builtInCalcSettings();

  {
    auto main = createMainWindow();
    main->show();
    frmDocument* doc = main->documents().front();
    choose(doc->cbKanshu(), "ダクタイル鋳鉄管");
    choose(doc->cbKikaku(), "1種");
    choose(doc->cbYobina(), "300");
    doc->txtTextBox(0)->setText(QStringLiteral("第1幹線 試験計算書"));
    doc->txtTextBox(5)->setText(QStringLiteral("1.2"));
    doc->txtTextBox(7)->setText(QStringLiteral("2.5"));
    doc->txtTextBox(15)->setText(QStringLiteral("2"));
    doc->txtTextBox(17)->setText(QStringLiteral("0.5"));
    doc->txtTextBox(18)->setText(QStringLiteral("0.25"));

    for (auto _ : state) {
      doc->cmdCommand(1)->click();
    }
    if (modality.questions != static_cast<int>(state.iterations()) || errors.shown != 0) {
      state.SkipWithError("a run did not end with its report written");
    }
    doc->setUnchanged(true);
  }
  g_app = saved;
}
BENCHMARK(BM_CalculationRun_largestCase)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  prepareApplication(application);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
