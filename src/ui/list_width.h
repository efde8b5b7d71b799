#pragma once
// Lists that show their texts whole. A drop-down list placed at a designed width cuts a longer
// entry ("外圧管1種(参考値)" in a narrow box): its line scrolls the text so that one end is lost.
#include <QStringList>

#include "ui/layer.h"

class QComboBox;

namespace tovakin::gui {

// The outer width at which the combo box shows each of the texts whole in its edit field, beside
// its arrow and inside its frame, as the box's style draws them.
int comboWidthForTexts(const QComboBox& combo, const QStringList& texts);

// Keeps the combo box as wide as its widest entry and the text it shows, and never narrower than
// the width it was last placed at (the designed one): it grows to the right when a longer entry
// comes, and goes back when the entries are gone.
void keepEntriesWhole(QComboBox& combo);

}  // namespace tovakin::gui
