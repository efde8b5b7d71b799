#include "document/frm_document.h"

#include <QCloseEvent>
#include <QLabel>

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
  // The commands (calculate, save, save as, open) come with the document's controls.
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
