#pragma once
// The About box: the program's name and edition, its version, the design standard it follows,
// the maker's notice and a link to the maker's web page. Shown modally over its owner; OK, Enter
// and Escape close it. A click on the link opens the page and leaves the box open.
#include <QDialog>
#include <QImage>
#include <QRect>
#include <QString>
#include <vector>

#include "ui/layer.h"

class QLabel;
class QPushButton;

namespace tovakin::gui {

class frmAbout final : public QDialog {
  Q_OBJECT
 public:
  explicit frmAbout(QWidget* owner);

  // Shows a box over the owner and returns when it is closed (also when 中止 in an error box
  // closed it).
  static void showModal(QWidget& owner);

 public slots:
  // Escape and the window's close button press OK, as the designed cancel button.
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Form_Load();
  void cmdOK_Click();
  void lblQuirnURL_Click();
  void layOut();
  // The label of that name; a name the box has no label of raises (9), naming it.
  QLabel* label(const char* name) const;

  QLabel* url_ = nullptr;  // lblQuirnURL, which opens the maker's page
};

// The texts of the box.
QString aboutCaption();
QString aboutTitleText();        // two lines: the name and the edition
QString aboutVersionText();      // "ﾊﾞｰｼﾞｮﾝ " and the version numbers
QString aboutDescriptionText();  // three lines: the design standard and its date
inline constexpr const char* kAboutUrlToolTip = "株式会社QuirnのWebサイトを開きます";

// The maker's logo at the box's size: the pipe of the window icon.
QImage drawAboutLogo();

// Designed rectangles grown to the heights their contents need (the substituted Japanese faces
// are taller than the designed ones): a rectangle that grows pushes every rectangle that starts
// at or below its designed bottom down by as much. `extra` receives how much lower the lowest
// bottom now lies. needed[i] <= 0 keeps rectangle i's height.
std::vector<QRect> grownDownward(const std::vector<QRect>& designed, const std::vector<int>& needed, int& extra);

}  // namespace tovakin::gui
