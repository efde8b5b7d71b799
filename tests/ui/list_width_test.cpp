// Lists that show their texts whole, measured the way the line inside the box draws its text.
#include "ui/list_width.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

namespace tovakin::gui {
namespace {

// Whether the box's line shows the text without scrolling: its width less its margins and cursor.
bool showsWhole(const QComboBox& combo, const QString& text) {
  const QLineEdit* line = combo.lineEdit();
  const QMargins margins = line->textMargins();
  return line->contentsRect().width() - margins.left() - margins.right() - 2 * 2 - 1 >=
         line->fontMetrics().horizontalAdvance(text);
}

struct Placed {
  QWidget window;
  QComboBox* combo = new QComboBox(&window);
  explicit Placed(int designedWidth) {
    combo->setEditable(true);
    keepEntriesWhole(*combo);
    combo->setGeometry(10, 10, designedWidth, 22);
    window.resize(400, 100);
    window.show();
  }
};

TEST(ListWidth, ABoxGrowsForItsWidestEntryAndGoesBackToItsDesignedWidth) {
  const QString longest = QStringLiteral("外圧管1種(参考値)");
  for (const bool shownFirst : {false, true}) {
    Placed p(80);
    if (shownFirst) p.combo->show();
    p.combo->addItems({QStringLiteral("1種"), longest, QStringLiteral("2種")});
    EXPECT_GT(p.combo->width(), 80) << shownFirst;
    EXPECT_EQ(p.combo->width(), comboWidthForTexts(*p.combo, {longest}));
    for (int i = 0; i < p.combo->count(); ++i) {
      p.combo->setCurrentIndex(i);
      EXPECT_TRUE(showsWhole(*p.combo, p.combo->currentText())) << p.combo->currentText().toStdString();
    }
    EXPECT_EQ(p.combo->x(), 10) << "it grows to the right";

    p.combo->clear();
    p.combo->addItems({QStringLiteral("VU"), QStringLiteral("VP")});
    EXPECT_EQ(p.combo->width(), 80) << "short entries keep the designed width";
  }
}

TEST(ListWidth, ATextOutsideTheListAndANewPlacementAreTakenIn) {
  Placed p(120);
  p.combo->addItem(QStringLiteral("A"));
  EXPECT_EQ(p.combo->width(), 120);
  const QString saved = QStringLiteral("遠心力鉄筋コンクリート管 外圧管2種(参考値)");
  p.combo->setEditText(saved);  // a case saved with a pipe the list no longer holds
  EXPECT_TRUE(showsWhole(*p.combo, saved));
  p.combo->setCurrentIndex(0);
  EXPECT_EQ(p.combo->width(), 120);
  p.combo->setGeometry(10, 10, 150, 22);  // placed anew: the new designed width
  EXPECT_EQ(p.combo->width(), 150);
  p.combo->setEditText(QString());
  EXPECT_EQ(p.combo->width(), 150);
}

}  // namespace
}  // namespace tovakin::gui
