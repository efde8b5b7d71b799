#include "ui/list_width.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>

#include "ui/abort_boundary.h"

namespace tovakin::gui {

namespace {
// A line edit keeps this margin on each side of its text, and a pixel for its cursor.
constexpr int kLineEditMargin = 2;
constexpr int kCursorWidth = 1;
}  // namespace

int comboWidthForTexts(const QComboBox& combo, const QStringList& texts) {
  int textWidth = 0;
  for (const QString& text : texts) textWidth = std::max(textWidth, combo.fontMetrics().horizontalAdvance(text));
  QStyleOptionComboBox option;
  option.initFrom(&combo);
  option.editable = combo.isEditable();
  option.frame = combo.hasFrame();
  // What the frame and the arrow take from the box at its present size stays the same at any width.
  const QRect field =
      combo.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &combo);
  const int around = combo.width() - field.width();
  return around + textWidth + 2 * kLineEditMargin + kCursorWidth;
}

namespace {

class EntriesWhole final : public QObject {
 public:
  explicit EntriesWhole(QComboBox& combo) : QObject(&combo), combo_(combo) {
    combo.installEventFilter(this);
    const auto refit = [this] { shielded([this] { fit(); }); };
    QAbstractItemModel* model = combo.model();
    connect(model, &QAbstractItemModel::rowsInserted, this, refit);
    connect(model, &QAbstractItemModel::rowsRemoved, this, refit);
    connect(model, &QAbstractItemModel::modelReset, this, refit);
    connect(model, &QAbstractItemModel::dataChanged, this, refit);
    connect(&combo, &QComboBox::editTextChanged, this, refit);
    connect(&combo, &QComboBox::currentIndexChanged, this, refit);
    fit();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // A width given from outside, a new font or style: what fits is decided again.
    if (watched == &combo_ && (event->type() == QEvent::Resize || event->type() == QEvent::FontChange ||
                               event->type() == QEvent::StyleChange))
      shielded([this] { fit(); });
    return false;
  }

 private:
  void fit() {
    // Any width but the one this fit gave the box was given from outside: the designed one. (A
    // hidden box is placed without an event, so the width is compared, not the events counted.)
    if (combo_.width() != fitted_) designed_ = combo_.width();
    QStringList texts{combo_.currentText()};
    for (int i = 0; i < combo_.count(); ++i) texts << combo_.itemText(i);
    fitted_ = std::max(designed_, comboWidthForTexts(combo_, texts));
    if (fitted_ != combo_.width()) combo_.resize(fitted_, combo_.height());
  }

  QComboBox& combo_;
  int designed_ = 0;
  int fitted_ = -1;
};

}  // namespace

void keepEntriesWhole(QComboBox& combo) { new EntriesWhole(combo); }

}  // namespace tovakin::gui
