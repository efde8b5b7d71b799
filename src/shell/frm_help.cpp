#include "shell/frm_help.h"

#include <algorithm>

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

#include "app/app_state.h"
#include "platform/error_box.h"
#include "platform/message_box.h"
#include "ui/abort_boundary.h"
#include "ui/form_helpers.h"

namespace tovakin::gui {
namespace {

constexpr const char* kHelpCaption = "Tovakin ヘルプ";
constexpr int kTargetRole = Qt::UserRole;

QString appPath() { return QString::fromStdString(g_app.g_appPath); }

void notifyMissing(const QString& path) {
  msgBox(helpMissingMessage(path).toStdString(), MsgButtons::OK, MsgIcon::None, "");
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  return b;
}

}  // namespace

frmHelp::frmHelp(QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("frmHelp"));
  setWindowTitle(QString::fromUtf8(kHelpCaption));

  auto* contents = button(this, "cmdContents", QStringLiteral("目次(&C)"));
  back_ = button(this, "cmdBack", QStringLiteral("戻る(&B)"));
  forward_ = button(this, "cmdForward", QStringLiteral("進む(&F)"));
  back_->setEnabled(false);
  forward_->setEnabled(false);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(contents);
  buttons->addWidget(back_);
  buttons->addWidget(forward_);
  buttons->addStretch(1);

  auto* indexPane = new QWidget(this);
  indexPane->setObjectName(QStringLiteral("picIndex"));
  auto* caption = new QLabel(QStringLiteral("キーワード(&K):"), indexPane);
  filter_ = new QLineEdit(indexPane);
  filter_->setObjectName(QStringLiteral("txtFilter"));
  filter_->setPlaceholderText(QStringLiteral("調べたい語を入力"));
  filter_->setClearButtonEnabled(true);
  filter_->setAcceptDrops(false);
  filter_->installEventFilter(this);
  caption->setBuddy(filter_);
  keywords_ = new QListWidget(indexPane);
  keywords_->setObjectName(QStringLiteral("lstKeywords"));
  auto* show = button(indexPane, "cmdShow", QStringLiteral("表示(&D)"));
  auto* indexLayout = new QVBoxLayout(indexPane);
  indexLayout->setContentsMargins(0, 0, 0, 0);
  indexLayout->addWidget(caption);
  indexLayout->addWidget(filter_);
  indexLayout->addWidget(keywords_, 1);
  indexLayout->addWidget(show);

  topic_ = new QTextBrowser(this);
  topic_->setObjectName(QStringLiteral("txtTopic"));
  topic_->setOpenLinks(false);  // every link goes through openLink
  auto* split = new QSplitter(Qt::Horizontal, this);
  split->addWidget(indexPane);
  split->addWidget(topic_);
  split->setStretchFactor(0, 0);
  split->setStretchFactor(1, 1);
  split->setSizes({220, 640});

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(split, 1);
  resize(880, 640);

  connect(contents, &QPushButton::clicked, this, [this] { shielded([this] { showContents(); }); });
  connect(back_, &QPushButton::clicked, topic_, &QTextBrowser::backward);
  connect(forward_, &QPushButton::clicked, topic_, &QTextBrowser::forward);
  connect(topic_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
  connect(topic_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
  connect(topic_, &QTextBrowser::anchorClicked, this, &frmHelp::openLink);
  connect(topic_, &QTextBrowser::sourceChanged, this, [this] {
    const QString title = topic_->documentTitle();
    setWindowTitle(title.isEmpty() ? QString::fromUtf8(kHelpCaption)
                                   : QString::fromUtf8(kHelpCaption) + QStringLiteral(" - ") + title);
  });
  connect(filter_, &QLineEdit::textChanged, this, &frmHelp::applyFilter);
  connect(keywords_, &QListWidget::itemActivated, this, [this] { shielded([this] { showSelectedKeyword(); }); });
  connect(show, &QPushButton::clicked, this, [this] { shielded([this] { showSelectedKeyword(); }); });

  setMyIcon(*this);
  loadKeywords(false);
}

QUrl frmHelp::helpFolderUrl() const { return QUrl::fromLocalFile(helpFilePath(appPath(), QString())); }

QUrl frmHelp::currentPage() const { return topic_->source(); }

QStringList frmHelp::listedKeywords() const {
  QStringList listed;
  for (int i = 0; i < keywords_->count(); ++i)
    if (!keywords_->item(i)->isHidden()) listed << keywords_->item(i)->text();
  return listed;
}

bool frmHelp::showContents() {
  if (!showTopic(QString::fromLatin1(kHelpContentsPage))) return false;
  bringUp();
  return true;
}

bool frmHelp::showIndex() {
  if (!loadKeywords(true)) return false;
  filter_->clear();
  applyFilter();
  // The index is read beside the page last shown, or beside the contents on a first showing.
  if (topic_->source().isEmpty()) {
    const QString contents = helpFilePath(appPath(), QString::fromLatin1(kHelpContentsPage));
    if (QFileInfo(contents).isFile()) topic_->setSource(QUrl::fromLocalFile(contents));
  }
  bringUp();
  filter_->setFocus(Qt::OtherFocusReason);
  return true;
}

bool frmHelp::showTopic(const QString& target) { return showPage(helpFolderUrl().resolved(QUrl(target))); }

bool frmHelp::showPage(const QUrl& page) {
  const QString path = page.toLocalFile();
  if (!QFileInfo(path).isFile()) {
    notifyMissing(path);
    return false;
  }
  // The pages' look lies in one style sheet beside them, which the viewer applies itself.
  QFile css(helpFilePath(appPath(), QString::fromLatin1(kHelpStyleSheet)));
  if (css.open(QIODevice::ReadOnly)) topic_->document()->setDefaultStyleSheet(QString::fromUtf8(css.readAll()));
  topic_->setSource(page);
  return true;
}

void frmHelp::openLink(const QUrl& link) {
  if (helpLinkKind(link) == HelpLinkKind::External) {
    shielded([&] { JumpHyperLink(link.toString().toStdString(), this); });
    return;
  }
  showPage(topic_->source().resolved(link));
}

bool frmHelp::loadKeywords(bool reportMissing) {
  const QString path = helpFilePath(appPath(), QString::fromLatin1(kHelpKeywordFile));
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    if (reportMissing) notifyMissing(path);
    return false;
  }
  index_ = parseHelpKeywords(QString::fromUtf8(file.readAll()));
  keywords_->clear();
  for (const HelpKeyword& entry : index_) {
    auto* item = new QListWidgetItem(entry.keyword, keywords_);
    item->setData(kTargetRole, entry.target);
  }
  applyFilter();
  return true;
}

void frmHelp::applyFilter() {
  const QString filter = filter_->text();
  QListWidgetItem* first = nullptr;
  for (int i = 0; i < keywords_->count(); ++i) {
    QListWidgetItem* item = keywords_->item(i);
    const bool shown = keywordMatches(item->text(), filter);
    item->setHidden(!shown);
    if (shown && !first) first = item;
  }
  keywords_->setCurrentItem(first);
}

void frmHelp::moveSelection(int delta) {
  int row = keywords_->currentRow();
  for (int i = row + delta; i >= 0 && i < keywords_->count(); i += delta) {
    if (!keywords_->item(i)->isHidden()) {
      keywords_->setCurrentRow(i);
      return;
    }
  }
}

void frmHelp::showSelectedKeyword() {
  QListWidgetItem* item = keywords_->currentItem();
  if (!item || item->isHidden()) return;
  showTopic(item->data(kTargetRole).toString());
}

bool frmHelp::eventFilter(QObject* watched, QEvent* event) {
  // Typing in the filter box and choosing with the arrow keys and Enter, without leaving the box.
  if (watched == filter_ && event->type() == QEvent::KeyPress) {
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Up:
        moveSelection(-1);
        return true;
      case Qt::Key_Down:
        moveSelection(1);
        return true;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        showSelectedKeyword();
        return true;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void frmHelp::bringUp() {
  if (isHidden() && parentWidget()) {
    // Centred on the owner, but whole on the owner's screen.
    const QRect owner = parentWidget()->window()->frameGeometry();
    QPoint at = owner.center() - QPoint(width() / 2, height() / 2);
    if (const QScreen* screen = parentWidget()->screen()) {
      const QRect area = screen->availableGeometry();
      at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - width())));
      at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - height())));
    }
    move(at);
  }
  showNormal();
  raise();
  activateWindow();
}

}  // namespace tovakin::gui
