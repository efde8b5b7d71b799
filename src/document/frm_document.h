#pragma once
// The design document window: one design case in the main window's MDI area. For now it carries
// what the main window relies on: its caption, the path of its file, the command entry point and
// the "changed" state with the save question on closing. Its controls come later.
#include <QPointer>
#include <QString>
#include <QWidget>

#include "app/design_data.h"
#include "shell/layer.h"

class QCloseEvent;
class QLabel;

namespace tovakin::gui {

// The designed Tag by which other windows recognise document windows.
inline constexpr const char* kDocumentTag = "frmDocument";

class frmDocument : public QWidget {
  Q_OBJECT
 public:
  explicit frmDocument(QWidget* parent = nullptr);

  // The command channel: runs the command word at once and returns when it has ended; the empty
  // word does nothing, so a sender writes "" first and then the word, and the same word sent
  // twice acts twice.
  void lblMyCommand(const QString& word);
  // The path of the document's file, "" while it has none.
  QString lblMyFilename() const;
  void setMyFilename(const QString& path);

  // True while nothing has been changed since the document was made, loaded or saved.
  bool blnUnchanged() const { return unchanged_; }
  void setUnchanged(bool unchanged) { unchanged_ = unchanged; }

  // The question before the window closes: true when it may close. Unchanged documents close;
  // a changed one asks "save?" (Yes / No / Cancel): No closes, Cancel keeps it, Yes saves and
  // keeps the window when the save did not happen.
  bool queryClose();

  // The design case the window holds.
  DesignData& myData() { return myData_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // The file words: "開く" loads the file named in lblMyFilename (a failure closes the window once
  // the sender has returned), "上書き保存" and "名前を付けて保存" save through the shared dialog.
  void myFileCommand(const QString& word);
  void closeWindow();

  QLabel* filename_ = nullptr;
  bool unchanged_ = true;
  DesignData myData_;
};

inline constexpr const char* kSaveQuestion = "データは変更されています。保存しますか？";

// Sends a command word the way every sender does: "" and then the word.
void DocumentCommand(frmDocument& document, const QString& word);

}  // namespace tovakin::gui
