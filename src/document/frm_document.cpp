#include "document/frm_document.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QTimer>

#include "app/user_file.h"
#include "platform/common_dialog.h"
#include "platform/error_box.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "shell/form_helpers.h"

namespace tovakin::gui {

frmDocument::frmDocument(QWidget* parent) : QWidget(parent) {
  setObjectName(kDocumentTag);
  setTag(*this, kDocumentTag);
  filename_ = new QLabel(this);
  filename_->setObjectName("lblMyFilename");
  filename_->hide();
  resize(twipsSize(8000, 5000));
}

void frmDocument::lblMyCommand(const QString& word) {
  if (word.isEmpty()) return;
  myFileCommand(word);
  // 計算する comes with the document's controls.
}

void frmDocument::myFileCommand(const QString& word) {
  const bool open = word == QStringLiteral("開く");
  const bool save = word == QStringLiteral("上書き保存");
  if (!open && !save && word != QStringLiteral("名前を付けて保存")) return;
  guardStep("lblMyCommand_Change", [&] {
    std::string path = lblMyFilename().toStdString();
    if (open) {
      if (!myUserLoad(myData_, commonDialog(), path)) {
        // Nothing to keep: no question, and no second window of the file is found in this one.
        unchanged_ = true;
        setMyFilename(QString());
        QTimer::singleShot(0, this, [this] { closeWindow(); });
        return;
      }
      setWindowTitle(QString::fromStdString(path));
    } else {
      bool quiet = save;
      if (!myUserSave(myData_, commonDialog(), path, quiet)) return;
    }
    setMyFilename(QString::fromStdString(path));
    unchanged_ = true;
    if (fileExists(path)) setWindowTitle(QString::fromStdString(path));
  });
}

void frmDocument::closeWindow() {
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->close();
  else close();
}

QString frmDocument::lblMyFilename() const { return filename_->text(); }
void frmDocument::setMyFilename(const QString& path) { filename_->setText(path); }

bool frmDocument::queryClose() {
  if (unchanged_) return true;
  switch (msgBox(kSaveQuestion, MsgButtons::YesNoCancel, MsgIcon::None, "")) {
    case MsgAnswer::No:
      return true;
    case MsgAnswer::Yes:
      DocumentCommand(*this, QStringLiteral("上書き保存"));
      return unchanged_;
    default:
      return false;
  }
}

void frmDocument::closeEvent(QCloseEvent* event) {
  bool mayClose = false;
  try {
    mayClose = queryClose();
  } catch (...) {
    // No exception leaves an event handler; a failed question keeps the document.
    mayClose = false;
  }
  if (mayClose) event->accept();
  else event->ignore();
}

void DocumentCommand(frmDocument& document, const QString& word) {
  document.lblMyCommand(QString());
  document.lblMyCommand(word);
}

}  // namespace tovakin::gui
