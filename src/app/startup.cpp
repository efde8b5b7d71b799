#include "app/startup.h"

#include "app/app_state.h"
#include "app/cursor.h"
#include "app/file_in_use.h"
#include "app/layer.h"
#include "app/settings.h"
#include "platform/error_box.h"
#include "platform/file_system.h"
#include "platform/message_box.h"

namespace tovakin::app {

std::int32_t MyFileCheck() {
  std::int32_t result = 0;
  guardStep("MyFileCheck", [&] {
    if (!fileExists(g_app.g_appPath + kSettingsFileName)) APP初期値ファイルの作成();
  });
  guardStep("MyFileCheck", [&] {
    result = myFileInUse(g_app.g_appPath + "DATABASE/" + "Tovakin.xlsx") == 1 ? 1 : 0;
  });
  return result;
}

StartupOutcome runStartup(const std::function<void()>& rebuildDatabase, const StartupProgress& progress) {
  const auto say = [&](const char* text) {
    if (progress) progress(text);
  };
  砂時計(true);
  say("初期設定を行っています。しばらくお待ち下さい。");
  MyFlagSet();
  say("作業ファイル設定を確認しています。しばらくお待ち下さい。");
  if (MyFileCheck() == 1) {
    msgBox("管材データベースファイルが他のアプリケーションで使用中です。\n終了してから、Tovakinを起動して下さい。",
           MsgButtons::OK, MsgIcon::None, "Tovakin");
    砂時計(false);
    return StartupOutcome::WorkbookInUse;
  }
  say("データベース設定を行っています。しばらくお待ち下さい。");
  if (rebuildDatabase) rebuildDatabase();
  say("プログラムの動作設定を行っています。しばらくお待ち下さい。");
  myAppSetting();
  say("メイン画面を呼び出しています。しばらくお待ち下さい。");
  return StartupOutcome::Ready;
}

}  // namespace tovakin::app
