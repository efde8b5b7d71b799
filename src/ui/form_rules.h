#pragma once
// The rules by which the windows take their texts from the program's string table and make
// button tooltips from captions. Plain functions over texts, so that every rule is tested
// without a window; form_helpers.h applies them to the widgets.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ui/layer.h"

namespace tovakin::gui {

// The program's string table: the text of an id; nullopt for an id the table does not hold.
std::optional<std::string> LoadResString(int id);

// A text read as a whole number, as an id kept in a caption or a tag is read: blanks around a
// decimal (or "&H" / "&O") number, rounded half to even. nullopt for any other text and for a
// number outside 16 bits.
std::optional<std::int16_t> wholeNumberId(std::string_view text);
// The leading number of a text (myCDbl), rounded half to even; nullopt outside 16 bits.
std::optional<std::int16_t> leadingNumberId(std::string_view text);

// myFormResString, one rule per kind of control: the new text, or nullopt to keep the one it has.
// A window's caption from its tag.
std::optional<std::string> formCaptionFor(std::string_view tag);
// A label's caption from its tag; labels take ids from 1000 up only.
std::optional<std::string> labelCaptionFor(std::string_view tag);
// A menu item's caption from its designed caption, a toolbar button's or a tab's tooltip from
// its designed tooltip, a tab's caption from its tag: the whole text is the id.
std::optional<std::string> textForWholeId(std::string_view designed);
// Any other control's caption from its tag, and its tooltip from its designed tooltip: the
// leading number is the id, when it is above 0.
std::optional<std::string> textForLeadingId(std::string_view designed);

// ToolTip2Caption: the tooltip of a button captioned `caption`: "&x" shows as "ALT+x", "&&" as
// "&", a final "&" adds nothing ("計算する(&C)" gives "計算する(ALT+C)").
std::string toolTipFromCaption(std::string_view caption);

}  // namespace tovakin::gui
