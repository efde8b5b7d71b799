#include "ui/file_dialog.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "ui/abort_boundary.h"
#include "ui/busy_pointer.h"

namespace tovakin::gui {
namespace {

QString patternsOf(const std::string& pattern) {
  QStringList out;
  for (const QString& p : QString::fromStdString(pattern).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const QString trimmed = p.trimmed();
    if (trimmed.isEmpty()) continue;
    out << (trimmed == QLatin1String("*.*") ? QStringLiteral("*") : trimmed);
  }
  return out.isEmpty() ? QStringLiteral("*") : out.join(QLatin1Char(' '));
}

// The description without a trailing "(patterns)" that repeats the filter's own patterns.
QString bareDescription(const QString& description, const std::string& pattern) {
  const QString d = description.trimmed();
  if (!d.endsWith(QLatin1Char(')'))) return d;
  const qsizetype open = d.lastIndexOf(QLatin1Char('('));
  if (open < 0) return d;
  const QString shown = d.mid(open + 1, d.size() - open - 2).trimmed();
  if (shown.compare(QString::fromStdString(pattern).trimmed(), Qt::CaseInsensitive) != 0) return d;
  return d.left(open).trimmed();
}

}  // namespace

QStringList qtNameFilters(const std::string& filter) {
  QStringList out;
  for (const auto& [description, pattern] : parseFilter(filter)) {
    const QString bare = bareDescription(QString::fromStdString(description), pattern);
    const QString patterns = patternsOf(pattern);
    // Qt takes the patterns from the last parentheses, so they always close the text.
    out << (bare.isEmpty() ? QStringLiteral("(%1)").arg(patterns) : QStringLiteral("%1 (%2)").arg(bare, patterns));
  }
  return out;
}

StartLocation startLocation(const std::string& fileName, const std::string& initDir) {
  const QString name = QString::fromStdString(fileName);
  const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
  if (slash >= 0) {
    const QString folder = slash == 0 ? QStringLiteral("/") : name.left(slash);
    if (QFileInfo(folder).isDir()) return {folder, name.mid(slash + 1)};
    return {QString::fromStdString(initDir), name.mid(slash + 1)};
  }
  return {QString::fromStdString(initDir), name};
}

namespace {
QPointer<QWidget> g_besideDialog;
constexpr int kBesideGap = 8;  // pixels between the dialog's frame and the window's
}  // namespace

QPoint besideDialog(const QRect& dialogFrame, const QSize& windowFrame, const QRect& screen) {
  const auto clamp = [](int value, int low, int high) { return std::max(low, std::min(value, high)); };
  // Centred over (or beside) the dialog, as far as the screen allows.
  const int left = clamp(dialogFrame.center().x() - windowFrame.width() / 2, screen.left(),
                         screen.right() + 1 - windowFrame.width());
  const int top = clamp(dialogFrame.center().y() - windowFrame.height() / 2, screen.top(),
                        screen.bottom() + 1 - windowFrame.height());
  const int above = dialogFrame.top() - kBesideGap - windowFrame.height();
  if (above >= screen.top()) return {left, above};
  const int below = dialogFrame.bottom() + 1 + kBesideGap;
  if (below + windowFrame.height() <= screen.bottom() + 1) return {left, below};
  const int right = dialogFrame.right() + 1 + kBesideGap;
  if (right + windowFrame.width() <= screen.right() + 1) return {right, top};
  const int leftOf = dialogFrame.left() - kBesideGap - windowFrame.width();
  if (leftOf >= screen.left()) return {leftOf, top};
  return {left, screen.top()};
}

QRect outerFrameOf(const QRect& geometry, const QRect& frame, bool framed, const QRect& ownerGeometry,
                   const QRect& ownerFrame) {
  // A frame that does not hold the window is none the manager drew: while it takes the window in,
  // the platform may report one of a single pixel at the window's corner.
  if (!framed || (frame != geometry && frame.contains(geometry))) return frame;
  const QMargins owners(ownerGeometry.left() - ownerFrame.left(), ownerGeometry.top() - ownerFrame.top(),
                        ownerFrame.right() - ownerGeometry.right(), ownerFrame.bottom() - ownerGeometry.bottom());
  return geometry.marginsAdded(owners);
}

KeepBesideFileDialog::KeepBesideFileDialog(QWidget* window) { g_besideDialog = window; }
KeepBesideFileDialog::~KeepBesideFileDialog() { g_besideDialog = nullptr; }

namespace {
// A window's outer frame (the dialog's, or a framed kept window's), estimated from its owner's
// while the window manager has not told it, or has told it wrong.
QRect outerFrame(const QWidget& window) {
  const QWidget* owner = window.parentWidget() ? window.parentWidget()->window() : nullptr;
  const bool framed = !(window.windowFlags() & Qt::FramelessWindowHint);
  if (!owner) return window.frameGeometry();
  return outerFrameOf(window.geometry(), window.frameGeometry(), framed, owner->geometry(), owner->frameGeometry());
}

// Moves the kept window beside the dialog once the dialog stands on screen.
void placeBeside(QFileDialog& dialog) {
  QWidget* window = g_besideDialog;
  if (!window || window->isHidden() || !dialog.isVisible()) return;
  const QScreen* screen = dialog.screen();
  const QRect area = screen ? screen->availableGeometry() : QRect(QPoint(0, 0), QSize(1 << 20, 1 << 20));
  // A frameless window is its own frame; what the platform reports as its frame before the window
  // manager has settled it may be anything.
  const bool frameless = window->windowFlags().testFlag(Qt::FramelessWindowHint);
  const QSize size = frameless ? window->size() : outerFrame(*window).size();
  const QPoint at = besideDialog(outerFrame(dialog), size, area);
  if (frameless && window->windowHandle()) window->windowHandle()->setPosition(at);
  else window->move(at);
}

// Follows the dialog: wherever the window manager puts it (and frames it), and wherever the user
// drags it, the kept window moves clear of it. The frame the manager draws is known only some
// events after the dialog has shown and moved, without an event of its own: every event of the
// dialog looks whether its frame has changed.
class FollowDialog final : public QObject {
 public:
  explicit FollowDialog(QFileDialog& dialog) : QObject(&dialog), dialog_(dialog), window_(g_besideDialog) {
    dialog.installEventFilter(this);
    if (window_) window_->installEventFilter(this);
  }
  ~FollowDialog() override {
    if (window_) window_->removeEventFilter(this);
  }
  FollowDialog(const FollowDialog&) = delete;
  FollowDialog& operator=(const FollowDialog&) = delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!dialog_.isVisible()) return false;
    if (watched == &dialog_) {
      const QRect frame = outerFrame(dialog_);
      if (event->type() == QEvent::Show || frame != placedAt_) {
        placedAt_ = frame;
        place();
      }
    } else if (watched == window_ && event->type() == QEvent::Move && corrections_ < kCorrections &&
               outerFrame(*window_).intersects(outerFrame(dialog_))) {
      // The window manager put the window back where it stood (its own placement of a window it
      // has just mapped, or a move it had not yet taken in): placed again, a few times at most.
      ++corrections_;
      place();
    }
    return false;
  }

 private:
  static constexpr int kCorrections = 5;

  void place() {
    // After the event: the dialog's own handling of it may still move it.
    QTimer::singleShot(0, this, [this] { shielded([this] { placeBeside(dialog_); }); });
  }

  QFileDialog& dialog_;
  QPointer<QWidget> window_;
  QRect placedAt_;
  int corrections_ = 0;
};
}  // namespace

DialogOutcome QtCommonDialog::ShowOpen() { return show(false); }
DialogOutcome QtCommonDialog::ShowSave() { return show(true); }

DialogOutcome QtCommonDialog::show(bool save) {
  QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(DialogTitle));
  dialog.setObjectName(QString::fromLatin1(kFileDialogObjectName));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  // The program asks its own overwrite question (or none, for a quiet save).
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(!save && (Flags & cdl::kFileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  const QStringList filters = qtNameFilters(Filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  const StartLocation start = startLocation(FileName, InitDir);
  if (!start.directory.isEmpty()) dialog.setDirectory(start.directory);
  if (!start.fileName.isEmpty()) dialog.selectFile(start.fileName);

  int result = QDialog::Rejected;
  {
    ModalPointer arrow;
    if (g_besideDialog) new FollowDialog(dialog);
    result = execModal(dialog);
  }
  const QStringList chosen = dialog.selectedFiles();
  if (result != QDialog::Accepted || chosen.isEmpty()) return DialogOutcome::Cancelled;
  FileName = QDir::cleanPath(QFileInfo(chosen.front()).absoluteFilePath()).toStdString();
  return DialogOutcome::Ok;
}

}  // namespace tovakin::gui
