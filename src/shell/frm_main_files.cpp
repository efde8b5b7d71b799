// The main window's part in opening documents (the open dialog, the recent-file items, the
// command line and dropped files, all through myFilesOpen) and the File and Edit menus' commands
// on the current document, which it sends as command words.
#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QTimer>

#include "app/app_state.h"
#include "app/document_file.h"
#include "app/recent_files.h"
#include "app/user_file.h"
#include "document/frm_document.h"
#include "platform/common_dialog.h"
#include "platform/error_box.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "shell/file_menu_rules.h"
#include "shell/frm_main.h"

namespace tovakin::gui {

namespace {

void notice(const QString& text) { msgBox(text.toStdString(), MsgButtons::OK, MsgIcon::None, ""); }

}  // namespace

void frmMain::connectFileCommands() {
  onItem(menus_.fileOpen, "mnuFileOpen_Click", &frmMain::mnuFileOpen_Click);
  onItem(menus_.fileClose, "mnuFileClose_Click", &frmMain::mnuFileClose_Click);
  onItem(menus_.fileSave, "mnuFileSave_Click", &frmMain::mnuFileSave_Click);
  onItem(menus_.fileSaveAs, "mnuFileSaveAs_Click", &frmMain::mnuFileSaveAs_Click);
  onItem(menus_.fileSaveAll, "mnuFileSaveAll_Click", &frmMain::mnuFileSaveAll_Click);
  onItem(menus_.editCalc, "mnuEditCalc_Click", &frmMain::mnuEditCalc_Click);
  for (int i = 0; i < int(menus_.fileMRU.size()); ++i)
    connect(menus_.fileMRU[std::size_t(i)], &QAction::triggered, this,
            [this, i] { runHandler("mnuFileMRU_Click", [this, i] { mnuFileMRU_Click(i); }); });
  // The enabling, and the recent-file items, are worked out each time their menu opens.
  connect(menus_.file, &QMenu::aboutToShow, this, [this] { runHandler("mnuFile_Click", [this] { mnuFile_Click(); }); });
  connect(menus_.edit, &QMenu::aboutToShow, this, [this] { runHandler("mnuEdit_Click", [this] { mnuEdit_Click(); }); });
  setAcceptDrops(true);
}

frmMain::OpenOutcome frmMain::myFilesOpen(const QString& fileName) {
  OpenOutcome outcome = OpenOutcome::Nothing;
  guardStep("myFilesOpen", [&] {
    outcome = OpenOutcome::Nothing;
    const QString path = documentPathKey(fileName);
    QMdiSubWindow* showing = nullptr;
    if (!path.isEmpty()) {
      for (QMdiSubWindow* sub : mdi_->subWindowList(QMdiArea::CreationOrder)) {
        const auto* document = qobject_cast<frmDocument*>(sub->widget());
        if (document && documentPathKey(document->lblMyFilename()) == path) {
          showing = sub;
          break;
        }
      }
    }
    const std::string file = path.toStdString();
    const bool exists = !file.empty() && fileExists(file);
    switch (openRoute(fileName, showing != nullptr, exists, myDataFileKind(file))) {
      case OpenRoute::Activate:
        mdi_->setActiveSubWindow(showing);
        outcome = OpenOutcome::Activated;
        return;
      case OpenRoute::Missing:
        notice(missingFileMessage(fileName));
        outcome = OpenOutcome::Reported;
        return;
      case OpenRoute::AskDialog: {
        const std::string chosen = myShowOpen(commonDialog());
        // Cancelled, or the chosen file went away meanwhile: nothing to say.
        if (chosen.empty() || !fileExists(chosen)) return;
        outcome = myFilesOpen(QString::fromStdString(chosen));
        return;
      }
      case OpenRoute::NotData:
        notice(notDataFileMessage(fileName));
        outcome = OpenOutcome::Reported;
        return;
      case OpenRoute::HandOver: {
        // The window made for the file, never "the active one": while the main window is hidden
        // or inactive there is none. A failed load closes it later, so it is held weakly.
        QPointer<frmDocument> document = LoadNewDoc(NewDocMode::ForFile);
        if (!document) {
          // LoadNewDoc has said why; at the limit nothing else may take the file.
          outcome = atDocumentLimit(g_app.g_docCount) ? OpenOutcome::AtLimit : OpenOutcome::Nothing;
          return;
        }
        document->setMyFilename(path);
        DocumentCommand(*document, QString::fromUtf8(kWordOpen));
        myFormEdit();
        outcome = OpenOutcome::HandedOver;
        return;
      }
      case OpenRoute::Nothing:
        return;
    }
  });
  return outcome;
}

void frmMain::openFiles(const QStringList& names) {
  for (const QString& name : names) {
    // An empty name would ask with the open dialog in the middle of the run.
    if (name.isEmpty()) continue;
    // At the limit every further name would only repeat the limit's message.
    if (myFilesOpen(name) == OpenOutcome::AtLimit) break;
  }
}

void frmMain::myFormEdit() {
  const RecentMenu menu = recentMenu(app::g_recentFiles);
  for (std::size_t i = 0; i < menus_.fileMRU.size(); ++i) {
    QAction* a = menus_.fileMRU[i];
    const RecentItem& item = menu.items.at(i);
    a->setText(item.caption);
    a->setData(item.path);
    a->setVisible(item.visible);
  }
  menus_.mruBar->setVisible(menu.separator);
}

frmDocument* frmMain::activeDocument() const {
  QMdiSubWindow* sub = mdi_->activeSubWindow();
  if (!sub) sub = mdi_->currentSubWindow();
  return sub ? qobject_cast<frmDocument*>(sub->widget()) : nullptr;
}

void frmMain::mnuFileOpen_Click() { myFilesOpen(QString()); }

void frmMain::mnuFileMRU_Click(int index) {
  // The item opens the entry its caption shows, which the menu took from the list as it opened.
  const QString path = menus_.fileMRU.at(std::size_t(index))->data().toString();
  if (!path.isEmpty()) myFilesOpen(path);
}

void frmMain::mnuFileClose_Click() {
  // The sub-window, not the document inside it: its closing asks the document's question.
  if (frmDocument* document = activeDocument())
    if (auto* sub = qobject_cast<QMdiSubWindow*>(document->parentWidget())) sub->close();
}

void frmMain::mnuFileSave_Click() {
  if (frmDocument* document = activeDocument()) DocumentCommand(*document, QString::fromUtf8(kWordSave));
}

void frmMain::mnuFileSaveAs_Click() {
  if (frmDocument* document = activeDocument()) DocumentCommand(*document, QString::fromUtf8(kWordSaveAs));
}

void frmMain::mnuFileSaveAll_Click() { notice(QString::fromUtf8(kSaveAllMessage)); }

void frmMain::mnuEditCalc_Click() {
  if (frmDocument* document = activeDocument()) DocumentCommand(*document, QString::fromUtf8(kWordCalc));
}

void frmMain::mnuFile_Click() {
  // A save since the menu last opened moved its file to the head of the list: the items are
  // rebuilt so that each opens the file its caption names.
  myFormEdit();
  const DocumentCommandsEnabled enabled = documentCommandsEnabled(activeDocument() != nullptr);
  // Only the menu's own items: the toolbar's buttons are separate actions and stay enabled.
  menus_.fileClose->setEnabled(enabled.close);
  menus_.fileSave->setEnabled(enabled.save);
  menus_.fileSaveAs->setEnabled(enabled.saveAs);
  menus_.fileSaveAll->setEnabled(enabled.saveAll);
}

void frmMain::mnuEdit_Click() {
  menus_.editCalc->setEnabled(documentCommandsEnabled(activeDocument() != nullptr).calc);
}

bool frmMain::takesDrop(const QMimeData* data) const {
  // A drop under a modal dialog would change the documents beneath the question it asks.
  if (!data || QApplication::activeModalWidget()) return false;
  return !droppedFileNames(data->urls()).isEmpty();
}

namespace {

// Files are opened from where they lie: a copy or a link, never a move, which would let the
// source delete what it gave.
bool acceptFileDrop(QDropEvent* event) {
  const Qt::DropActions possible = event->possibleActions();
  if (possible & Qt::CopyAction) event->setDropAction(Qt::CopyAction);
  else if (possible & Qt::LinkAction) event->setDropAction(Qt::LinkAction);
  else return false;
  event->accept();
  return true;
}

}  // namespace

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
  if (!takesDrop(event->mimeData()) || !acceptFileDrop(event)) event->ignore();
}

void frmMain::dragMoveEvent(QDragMoveEvent* event) {
  if (!takesDrop(event->mimeData()) || !acceptFileDrop(event)) event->ignore();
}

void frmMain::dropEvent(QDropEvent* event) {
  if (!takesDrop(event->mimeData()) || !acceptFileDrop(event)) {
    event->ignore();
    return;
  }
  const QStringList names = droppedFileNames(event->mimeData()->urls());
  // Opened once the drop has ended: the source waits for the drop's answer, and an opening may
  // show a message box.
  QTimer::singleShot(0, this, [this, names] {
    if (QApplication::activeModalWidget()) return;
    runHandler("MDIForm_OLEDragDrop", [this, &names] { openFiles(names); });
  });
}

}  // namespace tovakin::gui
