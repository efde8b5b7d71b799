#pragma once
// The help viewer: the pages of the help set in HELP/ of the application folder, shown in the
// program's own window, with a keyword index and its filter box beside them. Links to other pages
// stay in the viewer; addresses on the web go to the desktop's browser. A missing page or index
// file is reported by a plain notice that names the file.
#include <QString>
#include <QUrl>
#include <QWidget>
#include <vector>

#include "shell/help_rules.h"
#include "ui/layer.h"

class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBrowser;

namespace tovakin::gui {

class frmHelp final : public QWidget {
  Q_OBJECT
 public:
  // A window of its own that closes with its owner.
  explicit frmHelp(QWidget* owner);

  // 目次: the contents page. False, after the notice, when the page is missing.
  bool showContents();
  // ﾄﾋﾟｯｸの検索: the keyword index read afresh, its filter emptied and focused. False, after the
  // notice, when the index file is missing.
  bool showIndex();
  // A page of the help set, with or without an anchor ("loads.html#truck").
  bool showTopic(const QString& target);

  // The page shown, as a local file URL with its anchor; empty before the first page.
  QUrl currentPage() const;
  // The keywords the index lists now (under the filter), in order.
  QStringList listedKeywords() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool showPage(const QUrl& page);
  void openLink(const QUrl& link);
  bool loadKeywords(bool reportMissing);
  void applyFilter();
  void moveSelection(int delta);
  void showSelectedKeyword();
  void bringUp();
  QUrl helpFolderUrl() const;

  QTextBrowser* topic_ = nullptr;
  QLineEdit* filter_ = nullptr;
  QListWidget* keywords_ = nullptr;
  QPushButton* back_ = nullptr;
  QPushButton* forward_ = nullptr;
  std::vector<HelpKeyword> index_;
};

}  // namespace tovakin::gui
