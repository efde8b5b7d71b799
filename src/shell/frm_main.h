#pragma once
// The main window: the MDI parent in which every design document lives, with its menus, toolbar
// and status bar. It creates the document windows (LoadNewDoc), keeps its placement between runs
// and, when it closes, closes its documents one by one.
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <memory>

#include "ui/abort_boundary.h"
#include "shell/frm_help.h"
#include "shell/main_menu_rules.h"
#include "shell/main_window_rules.h"
#include "ui/layer.h"

class QAction;
class QCloseEvent;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QMimeData;
class QLabel;
class QMenu;
class QMdiArea;
class QMdiSubWindow;
class QSettings;
class QTimer;
class QToolBar;

namespace tovakin::gui {

class frmDocument;

// The Window menu's arrangements, numbered as the MDI parent's arrangement operation numbers them.
enum class Arrangement { Cascade = 0, TileHorizontal = 1, TileVertical = 2, ArrangeIcons = 3 };

class frmMain : public QMainWindow {
  Q_OBJECT
 public:
  explicit frmMain(QWidget* parent = nullptr);
  ~frmMain() override;

  // The load: texts from the string table, the icon, the recent files, the warning when no
  // usable report writer is installed and the first document, or the documents named on the
  // command line.
  void MDIForm_Load(const QStringList& commandLineFiles = {});

  // Shows the window where the load placed it (the stored placement, kept on the desktop): its
  // outer rectangle, frame included, is the stored one.
  void showPlaced();

  // Creates and shows one document window: numbered and empty, or empty for a file to fill.
  // Returns the new window, or nullptr when none was made (the document limit, an error): the
  // caller then stops.
  frmDocument* LoadNewDoc(NewDocMode mode);

  // The numbered documents made so far (never decremented).
  std::int32_t documentNumber() const { return numbered_; }

  QMdiArea* mdiArea() const { return mdi_; }
  // The document windows in the order they were made.
  QList<frmDocument*> documents() const;

  // The placement read from the settings (defaults where a value is missing; a value that is not
  // a number is reported by the error box and, on Ignore, leaves the defaults) and stored on
  // closing.
  Placement storedPlacement();
  void storePlacement();

  // Opens the documents named on the command line (openFiles); tests may replace it.
  std::function<void(frmMain&, const QStringList&)> myCommandLineOpen;

  // Opening documents and the document commands (frm_main_files.cpp).
  // What one opening came to.
  enum class OpenOutcome { Nothing, Activated, Reported, HandedOver, AtLimit };
  // The one road of every way of opening: "" asks with the open dialog; a file already open
  // brings its window to the front; a missing file or one that is not a data file is reported;
  // a data file goes to a new window through the command word "開く".
  OpenOutcome myFilesOpen(const QString& fileName);
  // Several names in their order (a drop, the command line); the document limit ends the run.
  void openFiles(const QStringList& names);
  // The recent-file items of the File menu from the recent-file list.
  void myFormEdit();
  // The document the menus act on: the active one, or, while the main window is not active, the
  // one that was; nullptr without documents.
  frmDocument* activeDocument() const;

  // The menus and the toolbar that do not act on one document. Each runs under runHandler
  // (abort_boundary.h) with its own name as the error box's label.
  // 表示: the spreadsheet items' captions and enabling as the menu opens, from the desktop's last
  // answer whether it has a spreadsheet program; the menu opens without waiting for the desktop,
  // which is asked again beside it (a program installed or removed meanwhile), and the items
  // follow its answer, also while the menu is open.
  void mnuView_Click();
  void mnuViewToolbar_Click();
  void mnuViewStatusBar_Click();
  // Starts the desktop's spreadsheet program.
  void mnuViewExcel_Click();
  // Asks, then opens the pipe-material workbook in the desktop's spreadsheet program.
  void mnuViewExcelKanzai_Click();
  // Both options items (表示 and ﾂｰﾙ) show the one modal options dialog, owned by this window.
  void mnuToolsOptions_Click();
  // The options dialog as the options items show it; nothing until the dialog is installed.
  std::function<void(QWidget& owner)> showOptionsDialog;
  // ｳｨﾝﾄﾞｳ: the arrangements' enabling and the list of the open documents, as the menu opens.
  void mnuWindow_Click();
  void Arrange(Arrangement arrangement);
  // Ctrl+F6 / Ctrl+Shift+F6: the next / previous document in the order they were opened, round
  // from the last to the first.
  void activateNeighbourDocument(bool forward);
  // ﾍﾙﾌﾟ: the contents page, the keyword index, the maker's web page, the About box.
  void mnuHelpContents_Click();
  void mnuHelpSearchForHelpOn_Click();
  void mnuQuirnWeb_Click();
  void mnuHelpAbout_Click();
  // A toolbar button, by its key: 新規作成 makes a document, 開く and 上書き保存 run the File menu's
  // items of those names (whatever their enabling in the menu).
  void tbToolBar_ButtonClick(const QString& key);

  // No context menu of the toolbar and the status bar: the View menu's check marks say whether
  // they show.
  QMenu* createPopupMenu() override { return nullptr; }

  // The help viewer, made on first use; nullptr before.
  frmHelp* helpWindow() const { return help_; }

  // The menus and their items as buildMenus made them, each also carrying its designed object name
  // (mnuFile, mnuFileOpen, mnuFileMRU_0 ...). The window wires and enables them through these
  // members, never by looking a name up.
  struct MenuItems {
    QMenu* file = nullptr;
    QAction* fileNew = nullptr;
    QAction* fileOpen = nullptr;
    QAction* fileClose = nullptr;
    QAction* fileSave = nullptr;
    QAction* fileSaveAs = nullptr;
    QAction* fileSaveAll = nullptr;
    std::array<QAction*, 4> fileMRU{};
    QAction* mruBar = nullptr;
    QAction* fileExit = nullptr;
    QMenu* edit = nullptr;
    QAction* editCalc = nullptr;
    QMenu* view = nullptr;
    QAction* viewToolbar = nullptr;
    QAction* viewStatusBar = nullptr;
    QAction* viewOptions = nullptr;
    QAction* viewExcel = nullptr;
    QAction* viewExcelKanzai = nullptr;
    QMenu* tools = nullptr;
    QAction* toolsOptions = nullptr;
    QMenu* window = nullptr;
    QAction* windowNewWindow = nullptr;
    QAction* windowCascade = nullptr;
    QAction* windowTileHorizontal = nullptr;
    QAction* windowTileVertical = nullptr;
    QAction* windowArrangeIcons = nullptr;
    QMenu* help = nullptr;
    QAction* helpContents = nullptr;
    QAction* helpSearchForHelpOn = nullptr;
    QAction* quirnWeb = nullptr;
    QAction* helpAbout = nullptr;
  };
  const MenuItems& menuItems() const { return menus_; }

 signals:
  // Every document has closed and the window goes: what follows are the window's last writes.
  // Emitted before them, so that a later start is no longer handed to this instance by then.
  void closeDecided();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // The menu bar's access keys: one that the active document's condition button also carries
  // (Alt+E, Alt+H) presses that button while the document shows it; otherwise the menu opens.
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void buildMenus();
  void buildToolBar();
  void buildStatusBar();
  void updateClock();
  void connectFileCommands();
  void onItem(QAction* item, const char* label, void (frmMain::*handler)());
  bool takesDrop(const QMimeData* data) const;
  void mnuFileOpen_Click();
  void mnuFileMRU_Click(int index);
  void mnuFileClose_Click();
  void mnuFileSave_Click();
  void mnuFileSaveAs_Click();
  void mnuFileSaveAll_Click();
  void mnuEditCalc_Click();
  void mnuFile_Click();
  void mnuEdit_Click();

  void runFileItem(QAction* item);
  // Asks the desktop, without waiting, whether it has a spreadsheet program (one question at a time).
  void askForSpreadsheet();
  void showSpreadsheetItems();
  frmHelp& help();

  QMdiArea* mdi_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QLabel* datePanel_ = nullptr;
  QLabel* timePanel_ = nullptr;
  QTimer* clock_ = nullptr;
  MenuItems menus_;
  QList<QAction*> windowList_;
  QPointer<frmHelp> help_;
  // The desktop's last answer (none yet: the items as designed until it comes) and whether a
  // question is out.
  std::optional<bool> spreadsheetFound_;
  bool askingSpreadsheet_ = false;
  std::int32_t numbered_ = 0;

  // The placement: read once at load, and the outer rectangle it asks for, which the inside size
  // is fitted to once the window manager has framed the window.
  void placeFromStore();
  void fitToFrame();
  bool placed_ = false;
  std::optional<Placement> restored_;
  QRect wantedFrame_;
  QTimer* frameWait_ = nullptr;
  int frameWaitTicks_ = 0;
  // After 中止 the program ends through this window's own closing, questions and all.
  AbortCloserInstalled abortEnding_{[this] { return close(); }};
};

// The main window as the start-up makes it: built and loaded (MDIForm_Load), not yet shown;
// the start-up shows it with showPlaced().
std::unique_ptr<frmMain> createMainWindow(const QStringList& commandLineFiles = {});

// The status bar's texts of a moment.
QString statusDateText(const QDateTime& now);
QString statusTimeText(const QDateTime& now);

}  // namespace tovakin::gui
