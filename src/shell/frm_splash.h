#pragma once
// The window shown while the program starts: the product name with its shadow, the edition,
// the version, the platform, the logo and a progress line.
//
// It is a frameless splash window (no entry in the task bar), not a stay-on-top one, so a box
// shown during start-up is never hidden behind it; the start-up also hides it while a box is up.
#include <QImage>
#include <QRectF>
#include <QString>
#include <QWidget>

#include "ui/layer.h"

class QLabel;
class QPainter;

namespace tovakin::gui {

// The program's logo motif (the window icon's): soil under a strip of grass and a pipe with 管 in
// its bore, in pixels of the picture it is drawn into.
struct PipeLogoShape {
  QRectF ground;
  qreal corner;
  qreal grass;  // the grass strip's height
  qreal pipeCentreY;
  qreal pipeRadius;
  qreal wall;
  int kanjiPixels;
};
void drawPipeLogo(QPainter& painter, const PipeLogoShape& shape);

class frmSplash final : public QWidget {
  Q_OBJECT
 public:
  frmSplash();

  // Shows the window centred on the screen and paints it at once, without an event loop.
  void showNow();
  // Puts a progress text into lblMsg and paints it at once.
  void setProgress(const QString& text);
  QString progress() const;

  // The version line: "Version " and the build's numbers ("Version 1.1.0").
  static QString splashVersionText();
  // The designed progress caption, shown until the first progress text.
  static QString designedProgressCaption();
  // The logo: the pipe of the window icon, larger, with the product name.
  static QImage drawLogo();
  // The platform the program runs on, as the user knows it.
  static QString platformName();

 private:
  void Form_Load();
  // The label of that name; a name the window has no label of raises (9), naming it.
  QLabel* label(const char* name) const;
};

}  // namespace tovakin::gui
